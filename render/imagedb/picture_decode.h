#pragma once

#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <QSize>
#include <QString>

namespace nuvela {

/// A picture decoded in memory, or why it could not be.
struct DecodedPicture {
    enum class Failure {
        None,
        Missing,    ///< no file under that path: the caller shows its placeholder
        Unreadable, ///< the file exists but cannot be opened or read
        Invalid,    ///< not a BMP, GIF, JPEG or PNG picture, or a damaged one: worth one retry
        TooLarge,   ///< refused before decoding: dimensions or size beyond the limits
    };

    QImage image;
    Failure failure = Failure::None;
    QString error;

    bool ok() const { return failure == Failure::None; }
};

/// Pictures wider or taller than this many pixels are refused.
inline constexpr int kMaxPictureSide = 20000;
/// Pictures with more pixels than this are refused (an 8000 x 8000 photo still passes).
inline constexpr qint64 kMaxPicturePixels = 64'000'000;
/// Files and database values longer than this are refused before they are read.
inline constexpr qint64 kMaxPictureBytes = 64 * 1024 * 1024;

/// The picture's size as the reader's header gives it. Qt reports a
/// top-down BMP (rows stored from the top, as many programs write them) with
/// a negative height; the picture itself reads upright.
QSize pictureSize(QImageReader& reader);

/// Decodes the bytes of a BMP, GIF, JPEG or PNG file. With a valid
/// `neededSize` (the device pixels of the box the caller stretches the picture
/// into), a bigger picture is decoded smaller, keeping its aspect ratio and
/// still covering that size in both directions; it is never enlarged. An
/// invalid `neededSize` decodes at the picture's own size.
DecodedPicture decodePicture(const QByteArray& bytes, QSize neededSize = {});

/// The same for a picture file, read straight from the disk.
DecodedPicture decodePictureFile(const QString& path, QSize neededSize = {});

} // namespace nuvela
