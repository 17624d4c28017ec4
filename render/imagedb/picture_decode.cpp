#include "render/imagedb/picture_decode.h"

#include "render/imagedb/jpeg_decode.h"
#include "render/imagedb/picture_bytes.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <algorithm>
#include <cmath>
#include <optional>

namespace nuvela {

namespace {

using Failure = DecodedPicture::Failure;

// A signature is at most eight bytes; a BMP needs its first 18 to be told
// from two random letters.
constexpr qint64 kSignatureBytes = 32;

// Qt refuses to allocate images above 128 MiB by default, which an 8000 x 6000
// PNG (183 MiB as 32-bit pixels) exceeds. Our own pixel limit is the real
// guard, so Qt's is raised to what that limit can need at 64 bits a pixel
// (16-bit PNGs), plus slack for the scaled copy.
constexpr int kAllocationLimitMiB = int(kMaxPicturePixels * 8 / (1024 * 1024)) + 64;

QString damaged(const QImageReader& reader)
{
    // Qt says "Unknown error" for most damage; that adds nothing for a user.
    const QString detail = reader.error() == QImageReader::UnknownError ? QString() : QStringLiteral(": ") + reader.errorString();
    return QStringLiteral("The picture is damaged") + detail;
}

DecodedPicture failed(Failure failure, QString error)
{
    return DecodedPicture { QImage(), failure, std::move(error) };
}

void raiseAllocationLimit()
{
    if (QImageReader::allocationLimit() != 0 && QImageReader::allocationLimit() < kAllocationLimitMiB)
        QImageReader::setAllocationLimit(kAllocationLimitMiB);
}

QSize coveringSize(QSize picture, QSize needed)
{
    if (!needed.isValid() || needed.isEmpty())
        return picture;
    const double factor = std::max(double(needed.width()) / picture.width(),
                                   double(needed.height()) / picture.height());
    if (factor >= 1.0)
        return picture;
    return QSize(std::max(1, int(std::ceil(picture.width() * factor))),
                 std::max(1, int(std::ceil(picture.height() * factor))));
}

DecodedPicture tooLarge(QSize size)
{
    return failed(Failure::TooLarge,
                  QStringLiteral("The picture is too large (%1 x %2 pixels)").arg(size.width()).arg(size.height()));
}

bool beyondLimits(QSize size)
{
    return size.width() > kMaxPictureSide || size.height() > kMaxPictureSide
        || qint64(size.width()) * size.height() > kMaxPicturePixels;
}

/// A JPEG decoded by the encoder's library, or nothing when it leaves the
/// file to Qt's reader.
std::optional<DecodedPicture> decodeJpegFrom(QByteArrayView bytes, QSize neededSize)
{
    const std::optional<JpegHeader> header = readJpegHeader(bytes);
    if (!header)
        return std::nullopt;
    if (beyondLimits(header->size))
        return tooLarge(header->size);
    if (header->transformation & QImageIOHandler::TransformationRotate90)
        neededSize.transpose();
    QImage image = decodeJpeg(bytes, *header, coveringSize(header->size, neededSize));
    if (image.isNull())
        return std::nullopt;
    return DecodedPicture { std::move(image), Failure::None, QString() };
}

// The format comes from the signature, never from a file name or Qt's
// guessing, so only the four picture formats are ever parsed. `bytes` holds
// the whole file when it is a JPEG, else at least its signature.
DecodedPicture decodeFrom(QIODevice* device, QByteArrayView bytes, QSize neededSize)
{
    const PictureFormat format = pictureFormatAt(bytes);
    if (format == PictureFormat::Unknown)
        return failed(Failure::Invalid, QStringLiteral("Not a BMP, GIF, JPEG or PNG picture"));
    if (format == PictureFormat::Jpeg) {
        if (auto decoded = decodeJpegFrom(bytes, neededSize))
            return std::move(*decoded);
    }

    raiseAllocationLimit();
    QImageReader reader(device, qtFormatName(format));
    // Without this Qt still asks every format plugin (loading each one)
    // before it takes its own PNG or BMP reader.
    reader.setAutoDetectImageFormat(false);
    // A JPEG left to Qt (CMYK, damaged) is turned by the same EXIF reading
    // as the others.
    const bool jpeg = format == PictureFormat::Jpeg;
    reader.setAutoTransform(!jpeg);
    const QImageIOHandler::Transformations turn = jpeg ? jpegTransformation(bytes) : reader.transformation();
    const QSize size = pictureSize(reader);
    if (!size.isValid() || size.isEmpty())
        return failed(Failure::Invalid, damaged(reader));
    if (beyondLimits(size))
        return tooLarge(size);
    // Scaling happens before an EXIF rotation, so a portrait photo stored
    // sideways must cover the need turned the same way.
    if (turn & QImageIOHandler::TransformationRotate90)
        neededSize.transpose();
    const QSize decodeSize = coveringSize(size, neededSize);
    if (decodeSize != size)
        reader.setScaledSize(decodeSize);

    QImage image = reader.read();
    if (image.isNull())
        return failed(Failure::Invalid, damaged(reader));
    if (jpeg)
        image = transformedPicture(std::move(image), turn);
    return DecodedPicture { std::move(image), Failure::None, QString() };
}

} // namespace

QSize pictureSize(QImageReader& reader)
{
    const QSize size = reader.size();
    return QSize(size.width(), size.height() < -1 ? -size.height() : size.height());
}

DecodedPicture decodePicture(const QByteArray& bytes, QSize neededSize)
{
    if (bytes.isEmpty())
        return failed(Failure::Invalid, QStringLiteral("The picture is empty"));
    if (bytes.size() > kMaxPictureBytes)
        return failed(Failure::TooLarge, QStringLiteral("The picture is too large (%1 bytes)").arg(bytes.size()));
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return decodeFrom(&buffer, bytes, neededSize);
}

DecodedPicture decodePictureFile(const QString& path, QSize neededSize)
{
    const QFileInfo info(path);
    if (!info.exists())
        return failed(Failure::Missing, QStringLiteral("File not found: %1").arg(path));
    if (!info.isFile())
        return failed(Failure::Unreadable, QStringLiteral("Not a file: %1").arg(path));
    if (info.size() > kMaxPictureBytes)
        return failed(Failure::TooLarge, QStringLiteral("The picture is too large (%1 bytes): %2")
                                             .arg(info.size())
                                             .arg(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failed(Failure::Unreadable, QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()));
    const QByteArray head = file.peek(kSignatureBytes);
    if (head.isEmpty() && info.size() == 0)
        return failed(Failure::Invalid, QStringLiteral("The picture is empty: %1").arg(path));
    QByteArray whole; // a JPEG's decoder takes the whole file at once
    QBuffer buffer(&whole);
    if (pictureFormatAt(head) == PictureFormat::Jpeg) {
        whole = file.readAll();
        buffer.open(QIODevice::ReadOnly);
    }
    DecodedPicture picture = whole.isEmpty() ? decodeFrom(&file, head, neededSize)
                                             : decodeFrom(&buffer, whole, neededSize);
    if (!picture.ok())
        picture.error += QStringLiteral(": ") + path;
    return picture;
}

} // namespace nuvela
