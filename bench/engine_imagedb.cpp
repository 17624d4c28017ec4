#include "render/imagedb/imagedb.h"
#include "render/imagedb/picture_decode.h"

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

} // namespace
