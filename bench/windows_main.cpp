// What a user waits for in the windows: the program's start, the page
// view after a click on a template and the recovery file written after
// each edit. Offscreen, at a 1920 × 1080 screen.

#include "canvas/picturecache.h"
#include "store/jpeg.h"
#include "store/recovery.h"
#include "store/templates.h"
#include "windows/common/dialogs.h"
#include "windows/common/program.h"
#include "windows/main/articlewindow.h"
#include "windows/main/pageview.h"
#include "windows/output/export.h"
#include "windows/output/saving.h"

#include <QApplication>
#include <QListWidget>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

const QString kProgramDir = QStringLiteral(NUVELA_STAGED_DATA);
const QSize kScreen(1920, 1080);

void BM_ProgramStart(benchmark::State& state)
{
    for (auto _ : state) {
        nuvela::QtDialogs dialogs;
        nuvela::Program program(kProgramDir, dialogs);
        nuvela::ArticleWindow window(program, kScreen);
        window.show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(window.winId());
    }
}
BENCHMARK(BM_ProgramStart)->Unit(benchmark::kMillisecond);

// From the click to the painted page view, for each sample template.
void BM_ChooseTemplate(benchmark::State& state, const QString& name)
{
    nuvela::QtDialogs dialogs;
    nuvela::Program program(kProgramDir, dialogs);
    nuvela::ArticleWindow window(program, kScreen);
    window.show();
    QCoreApplication::processEvents();
    const int row = int(nuvela::listTemplates(kProgramDir).indexOf(name));
    for (auto _ : state) {
        window.gallery()->setCurrentRow(-1);
        window.chooseTemplate(row);
        window.pageView()->repaint();
    }
}

// "Save picture" in the output window as the user waits for it: the page
// drawn afresh at the chosen resolution (its pictures decoded for it, a new
// canvas) and written through a temporary file. BM_PageToJpeg keeps its
// canvas and pictures between rounds and so shows less than the user waits.
void BM_SavePicture(benchmark::State& state, int dpi)
{
    nuvela::QtDialogs dialogs;
    nuvela::Program program(kProgramDir, dialogs);
    nuvela::ArticleWindow window(program, kScreen);
    window.chooseTemplate(int(nuvela::listTemplates(kProgramDir).indexOf(QStringLiteral("family-times"))));
    QTemporaryDir dir;
    const nuvela::SaveTarget target{dir.filePath(QStringLiteral("page.jpg")), nuvela::PictureFileFormat::Jpeg};
    for (auto _ : state) {
        QString why;
        const QImage page = nuvela::drawPageAt(program, dpi / 96.0, &why);
        if (page.isNull() || !nuvela::savePage(page, target, nuvela::jpegQuality(program.store)).ok()) {
            state.SkipWithError("the page could not be saved");
            break;
        }
    }
}
BENCHMARK_CAPTURE(BM_SavePicture, 150dpi, 150)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SavePicture, 300dpi, 300)->Unit(benchmark::kMillisecond);

// After every edit: the unsaved page of the sample with the most to keep,
// captured, written out and renamed into place.
void BM_JournalWrite(benchmark::State& state)
{
    nuvela::QtDialogs dialogs;
    nuvela::Program program(kProgramDir, dialogs);
    nuvela::ArticleWindow window(program, kScreen);
    nuvela::PageState largest;
    qsizetype largestBytes = 0;
    const QStringList names = nuvela::listTemplates(kProgramDir);
    for (int row = 0; row < names.size(); ++row) {
        window.chooseTemplate(row);
        nuvela::markModified(program.state); // the drawers leave a modified page's tags alone
        const qsizetype bytes = nuvela::serialiseRecovery(nuvela::captureRecovery(program.state, kProgramDir, {})).size();
        if (bytes > largestBytes) {
            largestBytes = bytes;
            largest = program.state;
        }
        nuvela::clearModified(program.state);
    }
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("page.recovery"));
    for (auto _ : state) {
        const auto saved = nuvela::captureRecovery(largest, kProgramDir, QDateTime::currentDateTime());
        if (!nuvela::writeRecovery(path, nuvela::serialiseRecovery(saved)).ok())
            state.SkipWithError("the recovery file cannot be written");
    }
    state.counters["bytes"] = double(largestBytes);
}
BENCHMARK(BM_JournalWrite)->Unit(benchmark::kMillisecond);

const bool registered = [] {
    for (const QString& name : nuvela::listTemplates(kProgramDir)) {
        const std::string label = "BM_ChooseTemplate/" + name.toStdString();
        benchmark::RegisterBenchmark(label.c_str(), BM_ChooseTemplate, name)->Unit(benchmark::kMillisecond);
    }
    return true;
}();

} // namespace
