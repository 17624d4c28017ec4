#pragma once

#include "store/inifiles.h"

#include <QByteArray>
#include <QString>

#include <functional>

class QIODevice;

namespace nuvela {

/// What stands where an output file (a saved page, an extracted picture) is
/// to be written.
enum class OutputKind {
    Absent,     ///< nothing: the file is made
    Regular,    ///< a regular file that may be replaced
    ReadOnly,   ///< a regular file protected against writing
    NotRegular, ///< a folder, device, FIFO or socket: never replaced
};

struct OutputPlace {
    QString target; ///< where the bytes go: a symbolic link is followed to the file it names
    OutputKind kind = OutputKind::Absent;
};

/// Looks at path without opening it (opening a FIFO would block).
OutputPlace examineOutput(const QString& path);

/// Whether a read-only file may be replaced: the program asks its user
/// first; the command-line tools never replace one.
enum class ReadOnlyFiles { Refuse, Replace };

/// Whether a read-only file could be replaced at all if the user agreed:
/// it is his own (or he is the administrator) on a disk that may be written.
bool mayReplaceReadOnly(const OutputPlace& place);

/// Writes an output file in one piece: write() fills a temporary file beside
/// the target, which replaces the target by an atomic rename only once it is
/// complete. A link is written through to the regular file it names; a
/// folder, device or FIFO is never replaced, nor (unless allowed) a
/// read-only file. Every failure names the file and what the user can do.
StoreResult writeOutputFile(const QString& path, const std::function<bool(QIODevice&)>& write,
                            ReadOnlyFiles readOnly = ReadOnlyFiles::Refuse);
StoreResult writeOutputFile(const QString& path, const QByteArray& bytes,
                            ReadOnlyFiles readOnly = ReadOnlyFiles::Refuse);

/// The message for a write of path that failed with the system error number
/// (0 when unknown) and the device's own text.
QString outputFailure(const QString& path, int errorNumber, const QString& deviceText);

} // namespace nuvela
