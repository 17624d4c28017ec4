#pragma once

#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

namespace nuvela {

/// Pictures decoded by the recent renders of one render session, so that drawing the same page again
/// (after every edit) does not decode its photos and logos again. A key names
/// the source together with the stamp of the file it came from, so a changed
/// file is never served from here; a file changed too recently to be told
/// apart by its stamp is not kept at all.
class PictureCache {
public:
    /// The key for a picture decoded from a file at a size, or "" when the
    /// file is missing or too recent to be kept.
    static QString keyFor(const QString& path, QSize size, const QString& part = {});

    QImage find(const QString& key);
    void insert(const QString& key, const QImage& image);
    void clear();

    /// The key of the present version of a file for remembering that it
    /// could not be shown: its path and stamp, "" when there is no file.
    static QString versionKey(const QString& path);
    /// A file that could not be shown is not read again until it changes.
    bool hasFailed(const QString& versionKey) const;
    void rememberFailure(const QString& versionKey);

    /// At most this many failed files are remembered, the latest ones.
    static constexpr qsizetype kMaxFailures = 256;

    /// The cache gives up its oldest pictures beyond this many bytes.
    static constexpr qint64 kMaxBytes = 96 * 1024 * 1024;

private:
    struct Entry {
        QString key;
        QImage image;
    };
    QList<Entry> entries_; // most recently used last
    QStringList failures_; // latest last
    qint64 bytes_ = 0;
};

} // namespace nuvela
