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

/// A stored quality: a number made whole (halves to even) and clamped to
/// 1 … 100; anything else (missing, "failed", "abc") gives 75.
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

} // namespace nuvela
