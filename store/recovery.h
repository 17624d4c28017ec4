#pragma once

#include "store/inifiles.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <cstdint>
#include <map>
#include <optional>

namespace nuvela {

struct PageState;

/// The unsaved page of one program folder, as the recovery file keeps it
/// between a crash and the next start: enough to choose the same template
/// and version again and put the edits back on it.
struct RecoveryState {
    QString programDir;  ///< canonical path of the program folder it belongs to
    QDateTime saved;     ///< when the last step was written
    QString tavnit;      ///< template name
    int version = 1;     ///< version on the page
    QString modified;    ///< the unsaved-changes marker
    bool logoText = false; ///< the headline's logo-text switch
    std::uint32_t headlineColour = 0;
    QList<QString> texts;   ///< live text table
    QList<QString> formats; ///< live format table
    std::map<int, QString> pictureTags; ///< picture overlay tags by object number

    bool operator==(const RecoveryState&) const = default;
};

/// What of the page state a recovery file keeps.
RecoveryState captureRecovery(const PageState& state, const QString& programDir, const QDateTime& when);
/// Puts the edits back on a page showing the same template and version:
/// the live tables, the tags of the picture frames it has, the headline
/// colour and the marker.
void applyRecovery(const RecoveryState& saved, PageState& state);

/// The file's text: UTF-8 lines "key=value" after a header that names the
/// format version, closed by an end line so a cut file is told apart.
QByteArray serialiseRecovery(const RecoveryState& saved);
/// Reads a recovery file's text; nullopt with error set when it is damaged,
/// of another format version or incomplete.
std::optional<RecoveryState> parseRecovery(const QByteArray& bytes, QString* error);

/// The folder of recovery files in the user's state folder ($XDG_STATE_HOME,
/// by default ~/.local/state), never a program folder.
QString recoveryFolder();
/// The recovery file of a program folder: one per folder, named by a hash of
/// its canonical path.
QString recoveryPath(const QString& programDir);

/// Writes the file in one piece (temporary file and rename); private to the user.
StoreResult writeRecovery(const QString& path, const QByteArray& bytes);
/// Reads and parses the file at path; nullopt with error set when it cannot.
std::optional<RecoveryState> readRecovery(const QString& path, QString* error);
/// Removes the file (saved or discarded changes); absent counts as removed.
bool removeRecovery(const QString& path);
/// Moves an unreadable file out of the way, to path + ".damaged" (or a
/// numbered name beside it); returns where it went ("" when it could not
/// be moved, and it is then removed so it is not offered again).
QString setAsideRecovery(const QString& path);

} // namespace nuvela
