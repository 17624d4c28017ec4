// What a user waits for when he saves or deletes a version: one rewrite of
// the sample text store each, synced to disk.

#include "store/inifiles.h"
#include "store/versions.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

const QString kStore = QStringLiteral(NUVELA_STAGED_DATA "/templates/textdata.txt");

QList<nuvela::StoreEntry> pageEntries()
{
    QList<nuvela::StoreEntry> entries{{QStringLiteral("txt0"), QStringLiteral("ok")}};
    for (int k = 1; k <= 20; ++k)
        entries.append({QStringLiteral("txt%1").arg(k), QStringLiteral("שורה %1~שורה שנייה").arg(k)});
    return entries;
}

// Save as a new version, then delete it again, so every round starts alike.
void BM_SaveAndDeleteVersion(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("textdata.txt"));
    QFile::copy(kStore, path);
    nuvela::IniFiles files;
    const auto entries = pageEntries();
    for (auto _ : state) {
        if (!nuvela::writeEntries(files, path, QStringLiteral("tav101girsa3"), entries).ok()
            || !nuvela::deleteVersion(files, path, QStringLiteral("101"), 3).ok()) {
            state.SkipWithError("store write failed");
            break;
        }
    }
}
BENCHMARK(BM_SaveAndDeleteVersion)->Unit(benchmark::kMillisecond);

} // namespace
