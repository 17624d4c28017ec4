#include "canvas/picturecache.h"

#include "store/filestamp.h"

namespace nuvela {

QString PictureCache::keyFor(const QString& path, QSize size, const QString& part)
{
    const auto stamp = fileStamp(path);
    if (!stamp || stamp->isRecent())
        return {};
    return QStringLiteral("%1|%2|%3x%4|%5")
        .arg(path, stamp->toString())
        .arg(size.width())
        .arg(size.height())
        .arg(part);
}

QImage PictureCache::find(const QString& key)
{
    if (key.isEmpty())
        return {};
    for (qsizetype i = entries_.size() - 1; i >= 0; --i) {
        if (entries_[i].key == key) {
            Entry e = entries_.takeAt(i);
            entries_.append(e);
            return e.image;
        }
    }
    return {};
}

void PictureCache::insert(const QString& key, const QImage& image)
{
    if (key.isEmpty() || image.isNull() || image.sizeInBytes() > kMaxBytes)
        return;
    entries_.append({key, image});
    bytes_ += image.sizeInBytes();
    while (bytes_ > kMaxBytes && !entries_.isEmpty()) {
        bytes_ -= entries_.first().image.sizeInBytes();
        entries_.removeFirst();
    }
}

void PictureCache::clear()
{
    entries_.clear();
    failures_.clear();
    bytes_ = 0;
}

QString PictureCache::versionKey(const QString& path)
{
    const auto stamp = fileStamp(path);
    return stamp ? path + u'|' + stamp->toString() : QString();
}

bool PictureCache::hasFailed(const QString& versionKey) const
{
    return !versionKey.isEmpty() && failures_.contains(versionKey);
}

void PictureCache::rememberFailure(const QString& versionKey)
{
    if (versionKey.isEmpty() || hasFailed(versionKey))
        return;
    failures_.append(versionKey);
    if (failures_.size() > kMaxFailures)
        failures_.removeFirst();
}

} // namespace nuvela
