#pragma once

#include <QString>
#include <QStringList>

namespace nuvela {

class KeyStore;
struct PageState;

/// Stored versions counted when a template is chosen.
inline constexpr int kMaxCountedVersions = 10;

/// The template gallery: every "*.ini" file of the program folder's
/// templates folder, named without its last four characters, sorted without
/// regard to case so the gallery reads the same on every file system.
QStringList listTemplates(const QString& programDir);

/// The "*.ini" files of the templates folder whose names are not UTF-8, as
/// templates named on an old system in Windows-1255 are: the file system
/// lists them, but no name the gallery could hold opens them. Named as
/// they read in Windows-1255.
QStringList unlistableTemplates(const QString& programDir);

/// Makes name the selected template: the state takes its identifier
/// ([templateid] id) and page direction ([paper] align), version 1 and no
/// unsaved changes; overlays are to be placed anew. Returns "" or why the
/// template cannot be opened (it does not exist or cannot be read).
QString selectTemplate(KeyStore& store, PageState& state, const QString& name);

/// `set_scroll`'s count: consecutive stored versions of the state's template
/// from 1, at most ten; 1 when there are none (the page then shows the
/// template's defaults as version 1).
int countVersions(KeyStore& store, const PageState& state);

/// Section of version n of the state's template in the text store.
QString versionSection(const QString& templateId, int n);

} // namespace nuvela
