// What a user waits for in the windows: the program's start and the page
// view after a click on a template. Offscreen, at a 1920 × 1080 screen.

#include "canvas/picturecache.h"
#include "store/templates.h"
#include "windows/common/dialogs.h"
#include "windows/common/program.h"
#include "windows/main/articlewindow.h"
#include "windows/main/pageview.h"

#include <QApplication>
#include <QListWidget>

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

const bool registered = [] {
    for (const QString& name : nuvela::listTemplates(kProgramDir)) {
        const std::string label = "BM_ChooseTemplate/" + name.toStdString();
        benchmark::RegisterBenchmark(label.c_str(), BM_ChooseTemplate, name)->Unit(benchmark::kMillisecond);
    }
    return true;
}();

} // namespace
