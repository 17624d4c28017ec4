#pragma once

#include "store/inifiles.h"
#include "store/outputfile.h"

#include <QImage>
#include <QString>
#include <QStringView>

namespace nuvela {

class KeyStore;

/// The quality when none is stored or the stored one is unusable.
inline constexpr int kDefaultJpegQuality = 75;

/// A stored quality: a whole number, clamped to 1 … 100; anything else
/// (missing, "failed", "abc", "80.5") gives 75.
int jpegQualityFrom(QStringView text);

/// [interface] jpgcompress of the text store, validated as above.
int jpegQuality(KeyStore& store);

/// Writes image as a JPEG file through a temporary file (see
/// writeOutputFile): on failure an existing file at path stays as it was.
StoreResult saveJpeg(const QImage& image, const QString& path, int quality,
                     ReadOnlyFiles readOnly = ReadOnlyFiles::Refuse);

/// Writes image as a Windows bitmap through a temporary file.
StoreResult saveBmp(const QImage& image, const QString& path, ReadOnlyFiles readOnly = ReadOnlyFiles::Refuse);

/// Writes image as a PNG file through a temporary file.
StoreResult savePng(const QImage& image, const QString& path, ReadOnlyFiles readOnly = ReadOnlyFiles::Refuse);

/// The JPEG that the conversion writes beside a bitmap: the path without its
/// last four characters, followed by ".jpg".
QString jpegPathBeside(const QString& bmpPath);

/// The BMP-to-JPEG routine: converts the bitmap at bmpPath into the JPEG
/// beside it, replacing an older JPEG only once the new one is complete, and
/// deletes the bitmap only then. A missing bitmap gives "File not found".
StoreResult convertBmpToJpeg(const QString& bmpPath, int quality);

} // namespace nuvela
