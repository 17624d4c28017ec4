#include "render/imagedb/jpeg_decode.h"

#include <QTransform>
#include <QtEndian>

#include <turbojpeg.h>

#include <algorithm>
#include <cmath>
#include <memory>

// Photos are the pictures a page holds most, and Qt reads them through a
// plugin of its own: loading it and its library, then a second pass from
// 24-bit rows to the page's 32-bit pixels, costs a small page a tenth of its
// drawing time. The encoder's library, already loaded, decodes straight into
// the page's pixel layout. Its choices are the ones Qt's reader makes (exact
// DCT, smooth chroma, the same DCT scaling, the same EXIF turns), so a page
// looks the same either way.

namespace nuvela {

namespace {

using T = QImageIOHandler::Transformation;

struct TjDestroy {
    void operator()(void* h) const { tjDestroy(h); }
};
using TjHandle = std::unique_ptr<void, TjDestroy>;

// Qt looks at no more IFDs than this for the orientation tag.
constexpr int kMaxIfds = 10;
constexpr quint16 kOrientationTag = 0x0112;
constexpr quint16 kShortType = 3;
constexpr qsizetype kExifHeader = 6; // "Exif\0\0"

QImageIOHandler::Transformations fromExif(int orientation)
{
    switch (orientation) {
    case 2: return T::TransformationMirror;
    case 3: return T::TransformationRotate180;
    case 4: return T::TransformationFlip;
    case 5: return T::TransformationFlipAndRotate90;
    case 6: return T::TransformationRotate90;
    case 7: return T::TransformationMirrorAndRotate90;
    case 8: return T::TransformationRotate270;
    default: return T::TransformationNone;
    }
}

/// The payload of the APP1 segment that holds EXIF data. Qt's reader runs
/// all APP1 segments together and so misses the orientation when an XMP
/// segment comes first, as some editing programs write it: the photo showed
/// on its side.
QByteArrayView exifPayload(QByteArrayView jpeg)
{
    qsizetype at = 2; // after the start-of-image marker
    while (at + 4 <= jpeg.size() && uchar(jpeg[at]) == 0xFF) {
        const uchar marker = uchar(jpeg[at + 1]);
        if (marker == 0xFF) { // fill byte
            ++at;
            continue;
        }
        if (marker == 0xDA || marker == 0xD9) // start of scan, end of image
            break;
        const qsizetype length = qFromBigEndian<quint16>(jpeg.data() + at + 2);
        if (length < 2 || at + 2 + length > jpeg.size())
            break;
        const QByteArrayView payload = jpeg.sliced(at + 4, length - 2);
        if (marker == 0xE1 && payload.startsWith(QByteArrayView("Exif\0\0", 6)))
            return payload;
        at += 2 + length;
    }
    return {};
}

/// The EXIF orientation (1 to 8), or 0: read the way Qt's reader reads it,
/// the first tag of the first IFDs, forward only.
int exifOrientation(QByteArrayView exif)
{
    if (exif.size() < kExifHeader + 8 || !exif.startsWith(QByteArrayView("Exif\0\0", 6)))
        return 0;
    const QByteArrayView tiff = exif.sliced(kExifHeader);
    const bool little = tiff.startsWith("II");
    if (!little && !tiff.startsWith("MM"))
        return 0;
    auto u16 = [&](qsizetype at) -> std::optional<quint16> {
        if (at < 0 || at + 2 > tiff.size())
            return std::nullopt;
        return little ? qFromLittleEndian<quint16>(tiff.data() + at) : qFromBigEndian<quint16>(tiff.data() + at);
    };
    auto u32 = [&](qsizetype at) -> std::optional<quint32> {
        if (at < 0 || at + 4 > tiff.size())
            return std::nullopt;
        return little ? qFromLittleEndian<quint32>(tiff.data() + at) : qFromBigEndian<quint32>(tiff.data() + at);
    };
    if (u16(2) != 0x2A)
        return 0;
    qint64 pos = 8; // where reading stands, after the byte order, 42 and the offset
    std::optional<quint32> offset = u32(4);
    for (int n = 0; n < kMaxIfds && offset; ++n) {
        if (qint64(*offset) < pos || qint64(*offset) + kExifHeader >= exif.size())
            return 0; // never backwards
        pos = *offset;
        const auto entries = u16(pos);
        if (!entries)
            return 0;
        pos += 2;
        for (int e = 0; e < *entries; ++e, pos += 12) {
            const auto tag = u16(pos), type = u16(pos + 2), value = u16(pos + 8);
            const auto count = u32(pos + 4);
            if (!tag || !type || !count || !value)
                return 0;
            if (*tag == kOrientationTag)
                return *count == 1 && *type == kShortType && *value >= 1 && *value <= 8 ? *value : 0;
        }
        offset = u32(pos);
        pos += 4;
        if (offset == 0u)
            break;
    }
    return 0;
}

const uchar* data(QByteArrayView bytes)
{
    return reinterpret_cast<const uchar*>(bytes.data());
}

} // namespace

QImage transformedPicture(QImage image, QImageIOHandler::Transformations t)
{
    if (t == T::TransformationNone)
        return image;
    if (t == T::TransformationRotate270)
        return image.transformed(QTransform().rotate(270));
    image = std::move(image).mirrored(t & T::TransformationMirror, t & T::TransformationFlip);
    if (t & T::TransformationRotate90)
        image = image.transformed(QTransform().rotate(90));
    return image;
}

QImageIOHandler::Transformations jpegTransformation(QByteArrayView bytes)
{
    return fromExif(exifOrientation(exifPayload(bytes)));
}

std::optional<JpegHeader> readJpegHeader(QByteArrayView bytes)
{
    TjHandle handle(tjInitDecompress());
    int w = 0, h = 0, subsampling = 0, colourspace = 0;
    if (!handle
        || tjDecompressHeader3(handle.get(), data(bytes), (unsigned long)bytes.size(), &w, &h, &subsampling,
                               &colourspace) != 0
        || w <= 0 || h <= 0) {
        return std::nullopt;
    }
    if (colourspace == TJCS_CMYK || colourspace == TJCS_YCCK)
        return std::nullopt; // Qt's reader knows Adobe's inverted inks
    return JpegHeader{QSize(w, h), jpegTransformation(bytes), colourspace == TJCS_GRAY};
}

QImage decodeJpeg(QByteArrayView bytes, const JpegHeader& header, QSize size)
{
    TjHandle handle(tjInitDecompress());
    if (!handle || size.isEmpty())
        return {};
    // The DCT decodes at n/8 of the size for the smallest n that still
    // covers the request; smooth scaling does the rest.
    const double f = std::min(double(header.size.width()) / size.width(),
                              double(header.size.height()) / size.height());
    const int eighths = std::clamp(int(std::ceil(8 / f)), 1, 8);
    const tjscalingfactor factor{eighths, 8};
    const int w = TJSCALED(header.size.width(), factor), h = TJSCALED(header.size.height(), factor);
    QImage image(w, h, header.gray ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
    if (image.isNull())
        return {};
    // RGB32 is B, G, R, X in memory on the little-endian machines we run on.
    const int rc = tjDecompress2(handle.get(), data(bytes), (unsigned long)bytes.size(), image.bits(), w,
                                 int(image.bytesPerLine()), h, header.gray ? TJPF_GRAY : TJPF_BGRX, 0);
    // Even a warning (a file cut short, stray bytes) goes to Qt's reader,
    // so that a damaged photo looks as it always did.
    if (rc != 0)
        return {};
    if (image.size() != size)
        image = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return transformedPicture(std::move(image), header.transformation);
}

} // namespace nuvela
