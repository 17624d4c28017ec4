// What a user waits for when a page is drawn and saved.

#include "render/drawpage.h"
#include "render/pagesetup.h"
#include "canvas/picturecache.h"
#include "render/pictures.h"
#include "store/jpeg.h"
#include "store/keystore.h"
#include "store/templates.h"
#include "text/textrow.h"

#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

const QString kProgramDir = QStringLiteral(NUVELA_STAGED_DATA);

/// One sample template opened as nuvela-render opens it.
struct OpenPage {
    nuvela::PageState state;
    nuvela::KeyStore store{kProgramDir, state};
    nuvela::PageSetup setup{store, state};
    nuvela::Surface canvas;
    nuvela::PageContext page{store, state, canvas};
    explicit OpenPage(const QString& name, double scale)
        : canvas(scale)
    {
        setup.openTemplate(name);
        setup.chooseVersion(1);
        page.placeholder = setup.placeholder();
    }
};

void BM_DrawPage(benchmark::State& state, const QString& name, double scale)
{
    OpenPage open(name, scale);
    for (auto _ : state) {
        const nuvela::PageOutcome outcome = nuvela::DrawPage(open.page);
        if (outcome.end != nuvela::PageEnd::Complete) {
            state.SkipWithError(outcome.error.toUtf8().constData());
            break;
        }
    }
    state.counters["pixels"] = double(open.canvas.image().width()) * open.canvas.image().height();
}

// The first drawing of a page: every picture and logo decoded afresh.
void BM_DrawPageFirstTime(benchmark::State& state, const QString& name)
{
    OpenPage open(name, 1);
    for (auto _ : state) {
        open.page.session->pictures.clear();
        nuvela::DrawPage(open.page);
    }
}

const bool registered = [] {
    for (const QString& name : nuvela::listTemplates(kProgramDir)) {
        for (double scale : {1.0, 3.125}) {
            const std::string label = "BM_DrawPage/" + name.toStdString() + "/scale:" + (scale == 1.0 ? "1" : "3.125");
            benchmark::RegisterBenchmark(label.c_str(), BM_DrawPage, name, scale)->Unit(benchmark::kMillisecond);
        }
        const std::string first = "BM_DrawPageFirstTime/" + name.toStdString();
        benchmark::RegisterBenchmark(first.c_str(), BM_DrawPageFirstTime, name)->Unit(benchmark::kMillisecond);
    }
    return true;
}();

// The heaviest sample page at scale 1, encoded at the default quality.
void BM_SaveJpeg(benchmark::State& state)
{
    OpenPage open(QStringLiteral("family-times"), 1);
    nuvela::DrawPage(open.page);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("page.jpg"));
    for (auto _ : state) {
        const nuvela::StoreResult r = nuvela::saveJpeg(open.canvas.image(), path, nuvela::kDefaultJpegQuality);
        if (!r.ok()) {
            state.SkipWithError(r.error.toUtf8().constData());
            break;
        }
    }
}
BENCHMARK(BM_SaveJpeg)->Unit(benchmark::kMillisecond);

// What a render adds to the program's start: the page drawn and encoded
// (pictures decoded once). At 300 dpi it is held against cjpeg encoding the
// same page from a PPM file (bench/startup/run.sh).
void BM_PageToJpeg(benchmark::State& state, double scale)
{
    OpenPage open(QStringLiteral("family-times"), scale);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("page.jpg"));
    for (auto _ : state) {
        nuvela::DrawPage(open.page);
        if (!nuvela::saveJpeg(open.canvas.image(), path, nuvela::kDefaultJpegQuality).ok()) {
            state.SkipWithError("the page could not be saved");
            break;
        }
    }
}
BENCHMARK_CAPTURE(BM_PageToJpeg, 96dpi, 1.0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PageToJpeg, 300dpi, 3.125)->Unit(benchmark::kMillisecond);

// A row of a megabyte, condensed into its box as far as fonts go: what a
// hostile or pasted value costs a render.
void BM_DrawMegabyteRow(benchmark::State& state)
{
    nuvela::Surface canvas;
    canvas.resize(12000, 3000);
    nuvela::TextRow row;
    row.font = QStringLiteral("ARIAL");
    row.w = 9000;
    row.h = 900;
    row.align = QStringLiteral("right");
    row.text = QStringLiteral("שלום עולם ").repeated(100000);
    for (auto _ : state)
        nuvela::DrawTextRow(canvas, true, row);
}
BENCHMARK(BM_DrawMegabyteRow)->Unit(benchmark::kMillisecond);

// A page at 8 times the screen's resolution written as a bitmap: the page
// is encoded a row at a time, without a second copy.
void BM_SaveBmpScale8(benchmark::State& state)
{
    OpenPage open(QStringLiteral("family-times"), 8);
    nuvela::DrawPage(open.page);
    QTemporaryDir dir;
    for (auto _ : state)
        nuvela::saveBmp(open.canvas.image(), dir.filePath(QStringLiteral("page.bmp")));
}
BENCHMARK(BM_SaveBmpScale8)->Unit(benchmark::kMillisecond)->Iterations(2);

// A key of the text store, as the drawers read dozens per page.
void BM_KeyValueGet(benchmark::State& state)
{
    nuvela::PageState page;
    page.tavnit = QStringLiteral("family-times");
    nuvela::KeyStore store(kProgramDir, page);
    for (auto _ : state)
        benchmark::DoNotOptimize(store.get(nuvela::StoreMode::GetTxt, u"tav104girsa1", u"txt5"));
}
BENCHMARK(BM_KeyValueGet)->Unit(benchmark::kMicrosecond);

QImage logo1000x300()
{
    QImage logo(1000, 300, QImage::Format_RGB32);
    logo.fill(qRgb(0, 0, 255));
    QPainter p(&logo);
    p.fillRect(100, 50, 800, 200, Qt::white);
    p.fillRect(150, 100, 300, 100, Qt::black);
    return logo;
}

void BM_BlitTransparent(benchmark::State& state)
{
    const QImage logo = logo1000x300();
    QImage page(1200, 500, QImage::Format_RGB32);
    page.fill(Qt::white);
    for (auto _ : state)
        nuvela::BlitTransparent(page, logo, 100, 100, nuvela::kLogoKey, qRgb(200, 30, 40));
}
BENCHMARK(BM_BlitTransparent)->Unit(benchmark::kMicrosecond);

// The yardstick: a plain opaque copy of the same bitmap.
void BM_DrawImagePlain(benchmark::State& state)
{
    const QImage logo = logo1000x300();
    QImage page(1200, 500, QImage::Format_RGB32);
    page.fill(Qt::white);
    for (auto _ : state) {
        QPainter p(&page);
        p.drawImage(100, 100, logo);
    }
}
BENCHMARK(BM_DrawImagePlain)->Unit(benchmark::kMicrosecond);

} // namespace
