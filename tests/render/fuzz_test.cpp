// Mutated templates, text stores, pictures and image databases, drawn as the
// renderer draws them: every case must end, with nothing or one line of
// error. NUVELA_FUZZ_CASES sets the number of cases (`make fuzz` runs many).

#include "app/renderjob.h"
#include "store/templates.h"
#include "support/testdirs.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <iostream>
#include <random>

namespace {

/// What one case may take at most before it counts as a hang.
constexpr qint64 kHangMs = 15000;

QByteArray mutate(QByteArray bytes, std::mt19937& rng)
{
    const auto pick = [&](qsizetype n) { return n > 0 ? qsizetype(rng() % quint32(n)) : 0; };
    static const QByteArray kWords[] = {"-1", "0", "1e308", "-99999999", "NaN", "&HFFFFFFFF", "~~~~",
                                       "[object1]", "\r\n", "=", ",,,", "\xFE\xFF", "true"};
    const int steps = 1 + int(rng() % 4);
    for (int s = 0; s < steps; ++s) {
        const qsizetype at = pick(bytes.size() + 1);
        switch (rng() % 6) {
        case 0: // flip a few bytes
            for (int k = 0; k < 8 && !bytes.isEmpty(); ++k)
                bytes[pick(bytes.size())] = char(rng());
            break;
        case 1: // a word that parsers treat specially
            bytes.insert(at, kWords[rng() % std::size(kWords)]);
            break;
        case 2: // cut a range out
            bytes.remove(at, pick(bytes.size() - at + 1));
            break;
        case 3: // repeat a range, up to a megabyte
            if (!bytes.isEmpty()) {
                const qsizetype from = pick(bytes.size()), length = 1 + pick(std::min<qsizetype>(4096, bytes.size() - from));
                bytes.insert(at, bytes.mid(from, length).repeated(int(1 + pick(qsizetype(1 << 20) / length))));
            }
            break;
        case 4: // truncate
            bytes.truncate(at);
            break;
        default: // random bytes
            for (int k = pick(64); k >= 0; --k)
                bytes.insert(at, char(rng()));
        }
    }
    return bytes;
}

TEST(Fuzz, MutatedFilesEndWithoutCrashHangOrMoreThanOneErrorLine)
{
    const int cases = qEnvironmentVariableIsSet("NUVELA_FUZZ_CASES") ? qEnvironmentVariableIntValue("NUVELA_FUZZ_CASES") : 150;
    test::ProgramFolder folder;
    const QStringList templates = nuvela::listTemplates(folder.path());
    ASSERT_FALSE(templates.isEmpty());
    QStringList targets{QStringLiteral("templates/textdata.txt"), QStringLiteral("temppic/sample_beach.jpg"),
                        QStringLiteral("temppic/sample_cat.jpg"), QStringLiteral("nvdb.db"), QStringLiteral("nopic.png")};
    for (const QString& t : templates)
        targets << QStringLiteral("templates/%1.ini").arg(t);
    QMap<QString, QByteArray> originals;
    for (const QString& t : targets)
        originals[t] = folder.read(t);
    const QString formats[] = {QStringLiteral("png"), QStringLiteral("jpg"), QStringLiteral("bmp"), QStringLiteral("pdf")};

    int outcomes = 0; // pages drawn
    qint64 slowest = 0;
    int hangs = 0, multiline = 0;
    QTemporaryDir out;
    for (int n = 0; n < cases; ++n) {
        std::mt19937 rng{quint32(n)};
        const QString target = targets[qsizetype(rng() % quint32(targets.size()))];
        folder.write(target, mutate(originals[target], rng));
        nuvela::RenderRequest request;
        request.programDir = folder.path();
        request.tavnit = templates[qsizetype(rng() % quint32(templates.size()))];
        request.scale = 0.5;
        request.output = out.filePath(QStringLiteral("page.") + formats[rng() % 4]);
        QElapsedTimer timer;
        timer.start();
        const QString error = nuvela::runRender(request);
        const qint64 ms = timer.elapsed();
        slowest = std::max(slowest, ms);
        hangs += ms > kHangMs;
        multiline += error.contains(u'\n');
        EXPECT_LE(ms, kHangMs) << "case " << n << ": " << target.toStdString();
        EXPECT_FALSE(error.contains(u'\n')) << "case " << n << ": " << error.toStdString();
        outcomes += error.isEmpty();
        folder.write(target, originals[target]);
    }
    std::cout << cases << " cases, " << outcomes << " drawn, 0 crashes, " << hangs << " hangs, " << multiline
              << " multi-line errors, slowest " << slowest << " ms\n";
}

} // namespace
