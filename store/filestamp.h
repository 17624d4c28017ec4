#pragma once

#include <QString>

#include <optional>

namespace nuvela {

/// What tells one version of a file from another without reading it: device,
/// inode, size and the modification and change times to the nanosecond.
struct FileStamp {
    quint64 device = 0, inode = 0;
    qint64 size = 0, mtimeNs = 0, ctimeNs = 0;
    bool operator==(const FileStamp&) const = default;

    /// Two changes within a short time may share a modification time on
    /// coarse file systems, so a file changed this recently cannot be told
    /// apart from its next version by its stamp; callers read it again.
    bool isRecent() const;
    /// The stamp as text, for cache keys.
    QString toString() const;
};

/// The stamp of a regular file, or nothing when there is none at path.
std::optional<FileStamp> fileStamp(const QString& path);

} // namespace nuvela
