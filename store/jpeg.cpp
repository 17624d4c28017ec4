#include "store/jpeg.h"

#include "store/keystore.h"
#include "store/numbers.h"

#include <QFileDevice>
#include <QImageWriter>

#include <turbojpeg.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace nuvela {

int jpegQualityFrom(QStringView text)
{
    // A number is made whole (halves to even); only what is not a number
    // falls back to the default.
    const auto v = parseNumber(text);
    if (!v)
        return kDefaultJpegQuality;
    return int(std::clamp(double(roundHalfEven(*v)), 1.0, 100.0));
}

int jpegQuality(KeyStore& store)
{
    return jpegQualityFrom(store.get(StoreMode::GetTxt, u"interface", u"jpgcompress"));
}

namespace {

struct TjFree {
    void operator()(unsigned char* p) const { tjFree(p); }
};
struct TjDestroy {
    void operator()(void* h) const { tjDestroy(h); }
};

} // namespace

StoreResult saveJpeg(const QImage& image, const QString& path, int quality, ReadOnlyFiles readOnly)
{
    if (image.isNull())
        return {QStringLiteral("Cannot write %1: there is no picture to save").arg(path)};
    // RGB32 is B, G, R, X in memory on the little-endian machines we run on.
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    std::unique_ptr<void, TjDestroy> handle(tjInitCompress());
    if (!handle)
        return {QStringLiteral("Cannot write %1: the JPEG encoder is not available").arg(path)};
    unsigned char* out = nullptr;
    unsigned long size = 0;
    const int rc = tjCompress2(handle.get(), rgb.constBits(), rgb.width(), int(rgb.bytesPerLine()),
                               rgb.height(), TJPF_BGRX, &out, &size, TJSAMP_420,
                               std::clamp(quality, 1, 100), TJFLAG_ACCURATEDCT);
    std::unique_ptr<unsigned char, TjFree> owned(out);
    if (rc != 0)
        return {QStringLiteral("Cannot write %1: %2").arg(path, QString::fromLocal8Bit(
                                                                     tjGetErrorStr2(handle.get())))};
    // The encoder leaves the resolution unset; a page saved at 300 dpi says
    // so, and prints at its size from any other program.
    static constexpr unsigned char kJfif[] = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F', 0};
    const long dpi = std::lround(image.dotsPerMeterX() * 0.0254);
    if (size >= 18 && std::equal(std::begin(kJfif), std::end(kJfif), out) && dpi > 0 && dpi <= 0xFFFF) {
        out[13] = 1; // dots per inch
        out[14] = out[16] = static_cast<unsigned char>(dpi >> 8);
        out[15] = out[17] = static_cast<unsigned char>(dpi & 0xFF);
    }
    // The compressed bytes are written where they are, without a copy.
    return writeOutputFile(
        path, [&](QIODevice& file) { return file.write(reinterpret_cast<const char*>(out), qint64(size)) == qint64(size); },
        readOnly);
}

namespace {

StoreResult saveEncoded(const QImage& image, const QString& path, const char* format, ReadOnlyFiles readOnly)
{
    if (image.isNull())
        return {QStringLiteral("Cannot write %1: there is no picture to save").arg(path)};
    // The encoders take the page a row at a time straight into the file; a
    // page without an alpha channel (the canvas) is never copied whole.
    const QImage opaque = image.hasAlphaChannel() ? image.convertToFormat(QImage::Format_RGB32) : image;
    bool encoderFailed = false;
    StoreResult r = writeOutputFile(
        path,
        [&](QIODevice& file) {
            QImageWriter writer(&file, format);
            const bool written = writer.write(opaque);
            // A device that refused the bytes (a full disk) is the file's
            // failure, reported as such.
            encoderFailed = !written && writer.error() != QImageWriter::DeviceError
                && static_cast<QFileDevice&>(file).error() == QFileDevice::NoError;
            return written;
        },
        readOnly);
    if (encoderFailed)
        r.error = QStringLiteral("Cannot write %1: the picture could not be encoded").arg(path);
    return r;
}

} // namespace

StoreResult saveBmp(const QImage& image, const QString& path, ReadOnlyFiles readOnly)
{
    return saveEncoded(image, path, "BMP", readOnly);
}

StoreResult savePng(const QImage& image, const QString& path, ReadOnlyFiles readOnly)
{
    return saveEncoded(image, path, "PNG", readOnly);
}

} // namespace nuvela
