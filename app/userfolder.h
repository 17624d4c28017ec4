#pragma once

// An installed Nuvela never writes into its install folder: each user gets a
// program folder of his own, made from the shipped one and kept up to date
// with it without losing anything the user changed.

#include <QString>
#include <QStringList>

namespace nuvela {

/// The shipped program folder of an installed program in executableDir
/// (executableDir/../share/nuvela), or "" when the program runs from a folder
/// that holds its templates itself (a build or a portable copy) or is not
/// installed.
QString shippedProgramFolder(const QString& executableDir);

/// The user's own program folder of an installed program
/// (~/.local/share/TITLE, or under XDG_DATA_HOME).
QString userProgramFolder();

/// The folder an installed program's tools work on by default: the user's
/// own folder once the program has made it, where his versions are kept;
/// otherwise the shipped folder next to the executable.
QString defaultToolFolder(const QString& executableDir, const QString& bundled);

struct FolderSync {
    QStringList added;   ///< files new to the user's folder
    QStringList updated; ///< shipped files the user never changed, replaced by their newer version
    QString error;       ///< why the folder could not be brought up to date
};

/// Brings the user's folder up to date with the shipped one:
/// - a shipped file the user's folder lacks is copied, unless it was copied
///   before (the user removed it on purpose);
/// - a file the user never changed is replaced by a newer shipped version,
///   except the text stores, which hold the user's versions and settings;
/// - every other file, and everything the user added, is left alone.
/// What was copied is remembered in the file kShippedList of the user's folder.
FolderSync syncUserFolder(const QString& shipped, const QString& user);

/// Remembers, per file, the checksum of the version last copied.
inline constexpr char kShippedList[] = ".shipped";

} // namespace nuvela
