#include "render/imagedb/legacy_import.h"

#include "store/filestamp.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace nuvela {

namespace {

QString hashOf(const QString& text)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha1).toHex().left(16));
}

/// A folder only this user can use: a copy there cannot be swapped by
/// someone else.
bool isPrivateFolder(const QString& folder)
{
    QDir().mkpath(folder);
    struct stat st{};
    if (::lstat(QFile::encodeName(folder).constData(), &st) != 0 || !S_ISDIR(st.st_mode)
        || st.st_uid != ::geteuid())
        return false;
    return ::chmod(QFile::encodeName(folder).constData(), 0700) == 0;
}

QString helperProgram()
{
    const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/nuvela-mdb-import");
    if (QFileInfo(beside).isExecutable())
        return beside;
    return QStringLiteral(NUVELA_MDB_IMPORT);
}

// Failed imports of this run, by copy name: a damaged file is tried once.
QHash<QString, QString>& failures()
{
    static QHash<QString, QString> known;
    return known;
}

} // namespace

QString legacyCacheFolder()
{
    QString base = qEnvironmentVariable("XDG_CACHE_HOME");
    if (base.isEmpty() && !qEnvironmentVariableIsEmpty("HOME"))
        base = qEnvironmentVariable("HOME") + QStringLiteral("/.cache");
    if (!base.isEmpty() && isPrivateFolder(base + QStringLiteral("/nuvela")))
        return base + QStringLiteral("/nuvela");
    const QString fallback = QDir::tempPath() + QStringLiteral("/nuvela-cache-%1").arg(::geteuid());
    return isPrivateFolder(fallback) ? fallback : QString();
}

LegacyImport importLegacyDatabase(const QString& mdbPath)
{
    const QString name = QFileInfo(mdbPath).fileName();
    const auto stamp = fileStamp(mdbPath);
    if (!stamp)
        return {{}, QStringLiteral("The image database %1 does not exist").arg(mdbPath)};
    const QString folder = legacyCacheFolder();
    if (folder.isEmpty())
        return {{}, QStringLiteral("The image database %1 cannot be read: there is no private folder for "
                                   "its converted copy")
                        .arg(mdbPath)};
    const QString source = QFileInfo(mdbPath).absoluteFilePath();
    const QString prefix = hashOf(source);
    const QString copy = folder + u'/' + prefix + u'-' + hashOf(stamp->toString()) + QStringLiteral(".db");
    if (QFileInfo(copy).isFile())
        return {copy, {}};
    if (const auto failed = failures().constFind(copy); failed != failures().cend())
        return {{}, *failed};

    QTemporaryFile scratch(copy + QStringLiteral(".XXXXXX"));
    if (!scratch.open())
        return {{}, QStringLiteral("The image database %1 cannot be read: %2").arg(mdbPath, scratch.errorString())};
    scratch.close();

    QProcess helper;
    helper.setStandardOutputFile(QProcess::nullDevice());
    helper.setChildProcessModifier([] {
        // Bounds the reader itself, whatever the file makes it do.
        const rlimit memory{rlim_t(kLegacyImportMemoryBytes), rlim_t(kLegacyImportMemoryBytes)};
        const rlimit cpu{rlim_t(kLegacyImportSeconds), rlim_t(kLegacyImportSeconds)};
#if !defined(__SANITIZE_ADDRESS__)
        // An address-space cap leaves no room for the sanitizer's shadow
        // memory; sanitizer builds keep only the time limit.
        ::setrlimit(RLIMIT_AS, &memory);
#else
        (void)memory;
#endif
        ::setrlimit(RLIMIT_CPU, &cpu);
    });
    helper.start(helperProgram(), {mdbPath, scratch.fileName()});
    QString why;
    if (!helper.waitForStarted()) {
        why = QStringLiteral("its reader %1 cannot be started").arg(helperProgram());
    } else if (!helper.waitForFinished(kLegacyImportSeconds * 1000)) {
        helper.kill();
        helper.waitForFinished();
        why = QStringLiteral("reading it took longer than %1 seconds").arg(kLegacyImportSeconds);
    } else if (helper.exitStatus() != QProcess::NormalExit) {
        why = QStringLiteral("its reader gave up (it ran out of time or memory)");
    } else if (helper.exitCode() != 0) {
        why = QString::fromUtf8(helper.readAllStandardError()).trimmed().section(u'\n', -1);
        if (why.isEmpty() || helper.exitCode() != kLegacyImportRefused)
            why = QStringLiteral("its reader gave up (it ran out of memory)");
    }
    if (!why.isEmpty()) {
        const QString error = QStringLiteral("The image database %1 is damaged and cannot be read: %2. "
                                             "Replace it with a good copy, or remove it to use %3.")
                                  .arg(name, why, QFileInfo(mdbPath).completeBaseName() + QStringLiteral(".db"));
        failures().insert(copy, error);
        return {{}, error};
    }
    // Copies of earlier versions of the same file are of no more use.
    const QStringList old = QDir(folder).entryList({prefix + QStringLiteral("-*.db")}, QDir::Files);
    for (const QString& stale : old) {
        if (folder + u'/' + stale != copy)
            QFile::remove(folder + u'/' + stale);
    }
    // Renderers running at once may each have made a copy; any one of them,
    // renamed over the others, is the copy.
    if (std::rename(QFile::encodeName(scratch.fileName()).constData(), QFile::encodeName(copy).constData()) != 0)
        return {{}, QStringLiteral("The image database %1 cannot be read: %2")
                        .arg(mdbPath, QString::fromLocal8Bit(std::strerror(errno)))};
    scratch.setAutoRemove(false);
    return {copy, {}};
}

} // namespace nuvela
