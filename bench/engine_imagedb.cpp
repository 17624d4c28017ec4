#include "render/imagedb/imagedb.h"
#include "render/imagedb/picture_decode.h"

#include <QBuffer>
#include <QImageReader>

#include <benchmark/benchmark.h>

namespace {

const QString kLogo = QStringLiteral("Birthday Daily");

// One logo lookup as a headline makes it: open the sample database read-only,
// find the title, read the bytes, close.
void BM_FetchImage(benchmark::State& state)
{
    const QString programDir = QStringLiteral(NUVELA_STAGED_DATA);
    for (auto _ : state) {
        const nuvela::ImageFetch fetch = fetchImageBytes(programDir, nuvela::Edition::Main, nuvela::kLogoTable, kLogo);
        if (!fetch.ok()) {
            state.SkipWithError(fetch.error.toUtf8().constData());
            break;
        }
        benchmark::DoNotOptimize(fetch.bytes.data());
    }
}
BENCHMARK(BM_FetchImage)->Unit(benchmark::kMicrosecond);

// The lookup and the decoding of the logo into pixels, all a headline waits for.
void BM_FetchAndDecodeLogo(benchmark::State& state)
{
    const QString programDir = QStringLiteral(NUVELA_STAGED_DATA);
    for (auto _ : state) {
        const nuvela::ImageFetch fetch = fetchImageBytes(programDir, nuvela::Edition::Main, nuvela::kLogoTable, kLogo);
        const nuvela::DecodedPicture logo = nuvela::decodePicture(fetch.bytes);
        if (!logo.ok()) {
            state.SkipWithError(logo.error.toUtf8().constData());
            break;
        }
        benchmark::DoNotOptimize(logo.image.constBits());
    }
}
BENCHMARK(BM_FetchAndDecodeLogo)->Unit(benchmark::kMicrosecond);

// A 12-megapixel camera photo, as users put into frames.
const QByteArray& cameraPhoto()
{
    static const QByteArray bytes = [] {
        QImage photo(4000, 3000, QImage::Format_RGB32);
        for (int y = 0; y < photo.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(photo.scanLine(y));
            for (int x = 0; x < photo.width(); ++x)
                line[x] = qRgb(x * 7 % 256, y * 5 % 256, (x ^ y) % 256);
        }
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        photo.save(&buffer, "JPEG", 85);
        return buffer.data();
    }();
    return bytes;
}

// The photo decoded at its own size (the picture editor) and for a frame.
void BM_DecodeCameraPhoto(benchmark::State& state)
{
    const QSize needed = state.range(0) ? QSize(int(state.range(0)), int(state.range(0)) * 3 / 4) : QSize();
    for (auto _ : state) {
        const nuvela::DecodedPicture photo = nuvela::decodePicture(cameraPhoto(), needed);
        benchmark::DoNotOptimize(photo.image.constBits());
    }
}
BENCHMARK(BM_DecodeCameraPhoto)->Arg(0)->Arg(900)->Unit(benchmark::kMillisecond);

// The same through Qt's own reader, the yardstick of the decoder above.
void BM_DecodeCameraPhotoQtReader(benchmark::State& state)
{
    const QSize needed = state.range(0) ? QSize(int(state.range(0)), int(state.range(0)) * 3 / 4) : QSize();
    for (auto _ : state) {
        QBuffer buffer;
        buffer.setData(cameraPhoto());
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, "jpeg");
        QImageReader::setAllocationLimit(0);
        if (needed.isValid())
            reader.setScaledSize(needed);
        benchmark::DoNotOptimize(reader.read().constBits());
    }
}
BENCHMARK(BM_DecodeCameraPhotoQtReader)->Arg(0)->Arg(900)->Unit(benchmark::kMillisecond);

} // namespace
