#include "runner.h"
#include "support/testdirs.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace test {

Run runRenderer(const QStringList& args, long addressSpaceKiB)
{
    QProcess p;
    QProcessEnvironment none;
#if defined(__SANITIZE_ADDRESS__)
    // The sanitizer's own settings (leak checks off) still reach the child.
    for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS"})
        if (qEnvironmentVariableIsSet(name))
            none.insert(QString::fromLatin1(name), qEnvironmentVariable(name));
#endif
    p.setProcessEnvironment(none);
    if (addressSpaceKiB > 0)
        p.start(QStringLiteral("/bin/sh"),
                QStringList{"-c", QStringLiteral("ulimit -v %1 && exec \"$0\" \"$@\"").arg(addressSpaceKiB),
                            QStringLiteral(NUVELA_RENDER_EXE)} + args);
    else
        p.start(QStringLiteral(NUVELA_RENDER_EXE), args);
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

QList<QImage> pdfPages(const QString& pdf)
{
    const QString stem = pdf + QStringLiteral("-page");
    runTool(QStringLiteral("pdftoppm"), {"-r", "96", "-png", pdf, stem});
    QList<QImage> pages;
    const QFileInfo info(stem);
    for (const QFileInfo& f : QDir(info.path()).entryInfoList({info.fileName() + "-*.png"}, QDir::Files, QDir::Name))
        pages.append(QImage(f.filePath()).convertToFormat(QImage::Format_RGB32));
    return pages;
}

} // namespace test
