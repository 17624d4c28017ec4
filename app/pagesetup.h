#pragma once

#include "canvas/page.h"

#include <QString>

namespace nuvela {

class KeyStore;
struct PageState;

/// Opens a template for drawing (see selectTemplate), and also refuses a
/// text store that exists but cannot be read.
QString openTemplate(KeyStore& store, PageState& state, const QString& name);

/// Puts version n of the open template on the page. Version 1 always exists
/// (a template without stored versions shows its defaults); a higher number
/// must be stored.
QString chooseVersion(KeyStore& store, PageState& state, int n);

/// Loads what the picture drawers need besides the template: the placeholder
/// picture of the program folder.
void preparePictures(PageContext& page);

} // namespace nuvela
