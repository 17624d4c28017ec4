#include "support/testdirs.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringEncoder>

#include <gtest/gtest.h>

namespace test {

void prepareQtEnvironment()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QTemporaryDir runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    // Recovery files of unsaved pages go to a state folder of the test's own.
    static QTemporaryDir state;
    qputenv("XDG_STATE_HOME", state.path().toLocal8Bit());
}

QString sourceDataDir() { return QStringLiteral(NUVELA_SOURCE_DATA); }
QString stagedDataDir() { return QStringLiteral(NUVELA_STAGED_DATA); }
QString sharedTestData(const QString& name)
{
    return QStringLiteral(NUVELA_SHARED_TESTDATA) + u'/' + name;
}

namespace {

void copyTree(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + u'/' + QDir(from).relativeFilePath(source);
        if (it.fileInfo().isDir())
            QDir().mkpath(target);
        else
            QFile::copy(source, target);
    }
}

} // namespace

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    f.write(bytes);
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

ProgramFolder::ProgramFolder(Start start)
{
    if (start == Start::Shipped) {
        copyTree(stagedDataDir(), dir_.path());
    } else {
        QDir(dir_.path()).mkpath(QStringLiteral("templates"));
        QDir(dir_.path()).mkpath(QStringLiteral("temppic"));
    }
}
QString ProgramFolder::file(const QString& relative) const { return dir_.path() + u'/' + relative; }
void ProgramFolder::write(const QString& relative, const QByteArray& bytes) const
{
    writeFile(file(relative), bytes);
}
QByteArray ProgramFolder::read(const QString& relative) const { return readFile(file(relative)); }

Run runProgram(const QString& program, const QStringList& args, const QProcessEnvironment* environment)
{
    QProcess p;
    if (environment)
        p.setProcessEnvironment(*environment);
    p.start(program, args);
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

QString runTool(const QString& tool, const QStringList& args) { return runProgram(tool, args).out; }

QByteArray ansi(const QString& text)
{
    QString crlf = text;
    crlf.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    crlf.replace(u'\n', QStringLiteral("\r\n"));
    QStringEncoder enc("windows-1255");
    QByteArray out = enc.encode(crlf);
    return out;
}

} // namespace test
