// The page walk: arbitrary bytes as a template, drawn at a small scale, and
// checked by nuvela-render --check.
#include "app/templatecheck.h"
#include "render/drawpage.h"
#include "render/pagesetup.h"
#include "store/keystore.h"
#include "store/pagestate.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdint>

namespace {

QTemporaryDir* folder = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    new QGuiApplication(*argc, *argv);
    folder = new QTemporaryDir;
    QDir(folder->path()).mkpath(QStringLiteral("templates"));
    QDir(folder->path()).mkpath(QStringLiteral("temppic"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString dir = folder->path();
    QFile f(dir + QStringLiteral("/templates/fuzz.ini"));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    f.write(reinterpret_cast<const char*>(data), qint64(size));
    f.close();

    nuvela::PageState state;
    nuvela::KeyStore store(dir, state);
    nuvela::PageSetup setup(store, state);
    if (setup.openTemplate(QStringLiteral("fuzz")).isEmpty() && setup.chooseVersion(1).isEmpty()) {
        nuvela::Surface canvas(0.05); // small: the walk matters, not the pixels
        nuvela::PageContext page = setup.context(canvas);
        page.wait = [](int) {}; // the retry of an invalid picture would only slow the search
        (void)nuvela::DrawPage(page);
    }
    (void)nuvela::checkProgramFolder(dir, {QStringLiteral("fuzz")}, nuvela::Edition::Main);
    return 0;
}
