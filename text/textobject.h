#pragma once

#include "canvas/page.h"

namespace nuvela {

/// Rows an editable text object may define ("shura1" … "shura10").
inline constexpr int kMaxEditableRows = 10;
/// Rows a fixed text object may define ("shura1" … "shura6").
inline constexpr int kMaxFixedRows = 6;

/// `DrawTextObject`: draws editable text object n from the version on the
/// page (or, while the page is being edited, from the live tables), places
/// its text overlay on the first render of a template, and completes the
/// object's live format string from its row definitions. In headline mode
/// the text stands at the headline's "picdim" in the size of the staged logo.
DrawStatus DrawTextObject(PageContext& page, int n, bool headlineMode);

/// `DrawFixedTextObject`: draws fixed text object n, rows "shura1" … "shura6"
/// with their texts "txt1" … "txt6" from the template.
DrawStatus DrawFixedTextObject(PageContext& page, int n);

} // namespace nuvela
