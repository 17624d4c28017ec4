#include "store/inifiles.h"

#include "store/outputfile.h"

#include <QFile>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

#include <unistd.h>

namespace nuvela {

namespace {

QString describe(const QString& path, const QString& reason)
{
    return QStringLiteral("Cannot write %1: %2").arg(path, reason);
}

} // namespace

void IniFiles::remember(const QString& path, std::shared_ptr<const IniDocument> doc)
{
    const auto stamp = fileStamp(path);
    if (!stamp) {
        cache_.remove(path);
        return;
    }
    cache_.insert(path, Entry{*stamp, stamp->isRecent(), std::move(doc)});
}

std::shared_ptr<const IniDocument> IniFiles::read(const QString& path)
{
    if (held_)
        if (const auto it = cache_.constFind(path); it != cache_.cend())
            return it->doc;
    refusals_.remove(path);
    const auto stamp = fileStamp(path);
    if (!stamp) {
        cache_.remove(path);
        if (QFileInfo::exists(path) && !QFileInfo(path).isFile())
            refusals_.insert(path, QStringLiteral("it is not a regular file"));
        return nullptr;
    }
    if (const auto it = cache_.constFind(path);
        it != cache_.cend() && !it->racy && it->stamp == *stamp)
        return it->doc;

    cache_.remove(path);
    if (stamp->size > kMaxFileSize) {
        refusals_.insert(path, QStringLiteral("it is %1 bytes long, more than the %2 a store file may have")
                                   .arg(stamp->size).arg(kMaxFileSize));
        return nullptr;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return nullptr;
    // The file's own size and one byte more, which tells a file that grew
    // since its stamp was taken: asking for the limit would reserve (and the
    // cached document keep) that much memory for every file read.
    QByteArray bytes = file.read(stamp->size + 1);
    const bool changed = bytes.size() != stamp->size;
    if (changed) {
        bytes += file.read(kMaxFileSize + 1 - bytes.size());
        if (bytes.size() > kMaxFileSize)
            return nullptr;
        bytes.squeeze();
    }
    auto doc = std::make_shared<const IniDocument>(std::move(bytes));
    if (!doc->refusal().isEmpty()) {
        refusals_.insert(path, doc->refusal());
        return nullptr;
    }
    // What was read while the file changed is not kept for the next read.
    if (!changed)
        remember(path, doc);
    return doc;
}

StoreResult IniFiles::write(const QString& path, QStringView section, QStringView key,
                            QStringView value)
{
    IniDocument doc;
    if (QFileInfo::exists(path)) {
        const auto current = read(path);
        if (!current) {
            const QString why = refusal(path);
            return {describe(path, why.isEmpty() ? QStringLiteral("the file cannot be read") : why)};
        }
        doc = *current;
    }
    if (!doc.setValue(section, key, value))
        return {describe(path, QStringLiteral("the text holds characters that Windows-1255 "
                                              "cannot store"))};
    return replace(path, doc.bytes());
}

StoreResult IniFiles::replace(const QString& path, const QByteArray& bytes)
{
    const QFileInfo info(path);
    // The rename would replace a read-only file too; honour the protection,
    // also for an administrator whom the system would let through.
    const auto writeBits = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    if (info.exists()
        && (::access(QFile::encodeName(path).constData(), W_OK) != 0
            || !(info.permissions() & writeBits)))
        return {describe(path, QStringLiteral("the file is read-only"))};
    if (!info.dir().exists())
        return {describe(path, QStringLiteral("the folder does not exist"))};

    // Through a temporary file and a rename; a full disk is said as such.
    if (StoreResult written = writeOutputFile(path, bytes); !written.ok())
        return written;
    remember(path, std::make_shared<const IniDocument>(bytes));
    return {};
}

} // namespace nuvela
