#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QImageIOHandler>
#include <QSize>

#include <optional>

namespace nuvela {

/// What a JPEG's header says, read without decoding a pixel.
struct JpegHeader {
    QSize size; ///< as stored, before any turn its EXIF data asks for
    QImageIOHandler::Transformations transformation = QImageIOHandler::TransformationNone;
    bool gray = false;
};

/// The turn the JPEG's EXIF data asks for, wherever among its segments the
/// EXIF data lies.
QImageIOHandler::Transformations jpegTransformation(QByteArrayView bytes);

/// The picture turned as QImageReader turns one it reads.
QImage transformedPicture(QImage image, QImageIOHandler::Transformations t);

/// The header of a JPEG that the encoder's own library decodes straight into
/// page pixels, or nothing for one it leaves to Qt's reader: CMYK, damaged
/// headers, anything it does not know.
std::optional<JpegHeader> readJpegHeader(QByteArrayView bytes);

/// Decodes the JPEG at exactly `size` (its own or smaller), turned as its
/// EXIF data says, with the pixels Qt's reader gives for the same request;
/// a null image when the library fails or warns (the caller then asks Qt's
/// reader, which reports the damage or shows what is left).
QImage decodeJpeg(QByteArrayView bytes, const JpegHeader& header, QSize size);

} // namespace nuvela
