#pragma once

#include "store/filestamp.h"
#include "store/inidocument.h"

#include <QHash>
#include <QString>

#include <memory>

namespace nuvela {

/// Outcome of a change to a store file: empty error on success.
struct StoreResult {
    QString error;
    bool ok() const { return error.isEmpty(); }
};

/// Reads and writes store files, keeping parsed files in memory. A cached file
/// is used only while the file on disk still has the same identity, size and
/// modification time, and never while its modification time is too recent to
/// tell two changes apart; so neither our writes nor anybody else's are ever
/// missed.
class IniFiles {
public:
    /// The parsed file, or nullptr when it does not exist or cannot be read.
    std::shared_ptr<const IniDocument> read(const QString& path);

    /// From now on a file read once is taken as read, without looking at
    /// the disk again: for a batch that must draw every card from the same
    /// files, and is spared a look at the file for every key it reads.
    void holdFilesAsRead() { held_ = true; }

    /// Why the last read of path refused a file that is there (too large,
    /// too many lines or sections, not a regular file), or "".
    QString refusal(const QString& path) const { return refusals_.value(path); }

    /// Sets one value (see IniDocument::setValue). The file is replaced
    /// through a temporary file and an atomic rename; on any failure the file
    /// stays as it was and the error says why.
    StoreResult write(const QString& path, QStringView section, QStringView key, QStringView value);

    /// Replaces the whole file with bytes, atomically.
    StoreResult replace(const QString& path, const QByteArray& bytes);

    /// Store files are small; anything bigger than this is not one of ours
    /// and is refused rather than read into memory.
    static constexpr qint64 kMaxFileSize = 64 * 1024 * 1024;

private:
    struct Entry {
        FileStamp stamp;
        bool racy = true; // modified too recently for the stamp to be trusted
        std::shared_ptr<const IniDocument> doc;
    };
    void remember(const QString& path, std::shared_ptr<const IniDocument> doc);

    QHash<QString, Entry> cache_;
    QHash<QString, QString> refusals_;
    bool held_ = false;
};

} // namespace nuvela
