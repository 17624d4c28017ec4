#pragma once

#include "store/inifiles.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>
#include <utility>

namespace nuvela {

class KeyStore;
struct PageState;

/// Key and value of one store entry, in the order they are written.
using StoreEntry = std::pair<QString, QString>;

/// A template keeps at most this many versions that the gallery finds again.
inline constexpr int kMaxVersions = 10;

/// What `save_girsa` writes for the page in the state: "txt0" = "ok", then for
/// every text overlay k its text ("txt"+k, line breaks as "~") and, on a
/// template whose colours may be edited, its row formats ("col"+k); the
/// source of every picture overlay ("pic"+k) that has one; the headline
/// colour ("cotarcolor") while its button shows.
QList<StoreEntry> versionEntries(const PageState& state);

/// Writes all entries into one section of a store file through a single
/// atomic replacement, so a version is stored whole or not at all. Existing
/// keys are replaced in place, others added; an empty value is stored empty
/// (a text the user cleared stays cleared).
StoreResult writeEntries(IniFiles& files, const QString& path, const QString& section,
                         const QList<StoreEntry>& entries);

/// The text store without version `version` of template `templateId`: the
/// section's header and lines up to the next header are dropped, and every
/// later version of the same template is renumbered one down. Headers are
/// recognised as the reader recognises them: any letter case, blanks around
/// the header and its name ignored, the identifier at its real length. Lines
/// are ended by CR LF.
QByteArray withoutVersion(const QByteArray& bytes, const QString& templateId, int version);

/// The text store with the versions that another text store, from, keeps
/// of template templateId added at its end, their lines as they are there;
/// the store as it is when it keeps a version of that template already (a
/// template's versions come from one place, never mixed) or from keeps none.
QByteArray withVersionsOf(const QByteArray& bytes, const QByteArray& from, const QString& templateId);

/// Deletes a version from the text store at path: reads the whole file first
/// (nothing is written when that fails) and replaces it atomically.
StoreResult deleteVersion(IniFiles& files, const QString& path, const QString& templateId, int version);

/// The stored lines of one section of a store file (see
/// IniDocument::sectionLines): what a version held when a window last read or
/// wrote it, to be compared before the window writes over it. Nothing when the
/// section or the file is not there.
std::optional<QList<QString>> storedSection(IniFiles& files, const QString& path, const QString& section);

/// How many consecutive versions of the state's template are stored, from 1,
/// at most kMaxVersions; 0 when none is.
int storedVersions(KeyStore& store, const PageState& state);

/// A template without an identifier (the store's "failed") cannot keep versions.
bool canKeepVersions(const PageState& state);

} // namespace nuvela
