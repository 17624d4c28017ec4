// What a user waits for in the picture editor, with a 24-megapixel photo:
// the editor opening on a chosen file, one pan step, applying the picture.
// Offscreen, at the 800 × 600 design screen.

#include "store/jpeg.h"
#include "store/templates.h"
#include "windows/common/dialogs.h"
#include "windows/common/program.h"
#include "windows/picedit/piceditwindow.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QScrollBar>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

const QString kProgramDir = QStringLiteral(NUVELA_STAGED_DATA);
constexpr int kFrame = 10; // the birthday page's 6400 x 4500 frame

/// A 6000 x 4000 JPEG with detail everywhere, made once per run.
const QString& photo24()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        QImage image(6000, 4000, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                line[x] = qRgb((x * 7) & 255, (y * 5) & 255, ((x ^ y) * 3) & 255);
        }
        const QString p = dir.filePath(QStringLiteral("photo.jpg"));
        (void)nuvela::saveJpeg(image, p, 85);
        return p;
    }();
    return path;
}

struct EditorSetup {
    nuvela::QtDialogs dialogs;
    nuvela::Program program{kProgramDir, dialogs};
    EditorSetup() { (void)nuvela::selectTemplate(program.store, program.state, QStringLiteral("birthday")); }
};

// From the chosen file to the editor on the screen.
void BM_PicEditOpen(benchmark::State& state)
{
    EditorSetup setup;
    const QString& path = photo24();
    for (auto _ : state) {
        nuvela::PiceditWindow editor(setup.program, kFrame, path, nullptr, QSize(800, 600));
        editor.show();
        editor.view()->repaint();
        benchmark::DoNotOptimize(editor.viewImage().constBits());
    }
}
BENCHMARK(BM_PicEditOpen)->Unit(benchmark::kMillisecond);

// One pan step at zoom 2.0, painted.
void BM_PicEditDraw(benchmark::State& state)
{
    EditorSetup setup;
    nuvela::PiceditWindow editor(setup.program, kFrame, photo24(), nullptr, QSize(800, 600));
    editor.show();
    editor.zoomBar()->setValue(20);
    bool forth = true;
    for (auto _ : state) {
        editor.horizontalBar()->triggerAction(forth ? QAbstractSlider::SliderSingleStepAdd
                                                    : QAbstractSlider::SliderSingleStepSub);
        forth = !forth;
        editor.view()->repaint();
    }
}
BENCHMARK(BM_PicEditDraw)->Unit(benchmark::kMillisecond);

// Applying: the full-resolution source framed at print size and written.
void BM_PicEditApply(benchmark::State& state)
{
    QTemporaryDir out;
    nuvela::Framing f;
    f.view = QSizeF(6400, 4500);
    f.source = QSizeF(6000, 4000) * 15.0;
    nuvela::selectMode(f, nuvela::FillMode::FitHeight);
    for (auto _ : state) {
        const nuvela::AppliedPicture applied = nuvela::applyFraming(out.path(), photo24(), f, false, 75);
        if (!applied.ok())
            state.SkipWithError(applied.error.toStdString().c_str());
    }
}
BENCHMARK(BM_PicEditApply)->Unit(benchmark::kMillisecond);

} // namespace
