// A class's worth of cards from one table in one process.

#include "app/mergejob.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

namespace {

// Rows per table; the counters give the cost per card.
constexpr int kCards = 60;

void BM_MergeCards(benchmark::State& state, const char* output, int jobs)
{
    QTemporaryDir dir;
    QFile table(dir.filePath(QStringLiteral("class.csv")));
    table.open(QIODevice::WriteOnly);
    table.write("#name,txt5,pic7\n");
    const char* photos[] = {"sample_cat.jpg", "sample_beach.jpg", "sample_mountains.jpg"};
    for (int i = 0; i < kCards; ++i)
        table.write(QStringLiteral("Guest %1,Happy Birthday %1!~From all of us,%2\n").arg(i).arg(photos[i % 3]).toUtf8());
    table.close();
    nuvela::RenderRequest request;
    request.programDir = QStringLiteral(NUVELA_STAGED_DATA);
    request.tavnit = QStringLiteral("family-times");
    request.merge = table.fileName();
    request.output = dir.filePath(QString::fromLatin1(output));
    request.jobs = jobs;
    const int quiet = open("/dev/null", O_WRONLY);
    for (auto _ : state) {
        if (nuvela::runMerge(request, {quiet, false}) != nuvela::kMergeAllMade) {
            state.SkipWithError("the merge failed");
            break;
        }
    }
    close(quiet);
    state.counters["per_card"] = benchmark::Counter(double(state.iterations()) * kCards,
                                                    benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

BENCHMARK_CAPTURE(BM_MergeCards, jpeg_1_worker, "cards/{row}.jpg", 1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_MergeCards, jpeg_2_workers, "cards/{row}.jpg", 2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_MergeCards, one_pdf, "class.pdf", 1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
