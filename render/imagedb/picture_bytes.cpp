#include "render/imagedb/picture_bytes.h"

#include <QtEndian>
#include <array>

namespace nuvela {

namespace {

// Object headers of Access picture columns are a few dozen to a few hundred
// bytes (class name, file name of a package); nothing longer is searched, so a
// stray "BM" deep inside other data is never taken for a picture.
constexpr qsizetype kHeaderSearchLimit = 4096;

// Sizes of the BMP info headers in use (core, 3.x, 4.x, 5.x and the rarer
// variants); together with "BM" they tell a bitmap from two random letters.
constexpr std::array<quint32, 7> kBmpInfoHeaderSizes { 12, 40, 52, 56, 64, 108, 124 };

constexpr qsizetype kBmpMinimumHeader = 18; // file header (14) + info header size (4)

bool isBmpAt(QByteArrayView bytes)
{
    if (bytes.size() < kBmpMinimumHeader || bytes[0] != 'B' || bytes[1] != 'M')
        return false;
    const quint32 infoSize = qFromLittleEndian<quint32>(bytes.data() + 14);
    for (quint32 size : kBmpInfoHeaderSizes) {
        if (size == infoSize)
            return true;
    }
    return false;
}

} // namespace

PictureFormat pictureFormatAt(QByteArrayView bytes)
{
    if (isBmpAt(bytes))
        return PictureFormat::Bmp;
    if (bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a"))
        return PictureFormat::Gif;
    if (bytes.startsWith("\xFF\xD8\xFF"))
        return PictureFormat::Jpeg;
    if (bytes.startsWith("\x89PNG\r\n\x1A\n"))
        return PictureFormat::Png;
    return PictureFormat::Unknown;
}

QByteArray qtFormatName(PictureFormat format)
{
    switch (format) {
    case PictureFormat::Bmp:
        return "bmp";
    case PictureFormat::Gif:
        return "gif";
    case PictureFormat::Jpeg:
        return "jpeg";
    case PictureFormat::Png:
        return "png";
    case PictureFormat::Unknown:
        break;
    }
    return {};
}

QByteArray unwrapPictureBytes(const QByteArray& bytes)
{
    const qsizetype limit = std::min(bytes.size(), kHeaderSearchLimit);
    for (qsizetype start = 0; start < limit; ++start) {
        const QByteArrayView rest = QByteArrayView(bytes).sliced(start);
        const PictureFormat format = pictureFormatAt(rest);
        if (format == PictureFormat::Unknown)
            continue;
        if (format == PictureFormat::Bmp) {
            const quint32 declared = qFromLittleEndian<quint32>(rest.data() + 2);
            if (declared >= kBmpMinimumHeader && declared < quint64(rest.size()))
                return bytes.sliced(start, declared);
        }
        return start == 0 ? bytes : bytes.sliced(start);
    }
    return bytes;
}

} // namespace nuvela
