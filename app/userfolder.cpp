#include "app/userfolder.h"

#include "store/inidocument.h"
#include "store/outputfile.h"
#include "store/versions.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSaveFile>
#include <QStandardPaths>

#include <optional>

namespace nuvela {

namespace {

// The user's own data: never replaced once it is there.
const QStringList kTextStores = {QStringLiteral("templates/textdata.txt"), QStringLiteral("templates/tmpdata.txt")};

std::optional<QByteArray> readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    return f.readAll();
}

QByteArray checksum(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

/// Writes through a temporary file and a rename, so a file is either the old
/// one or the whole new one.
QString writeWhole(const QString& path, const QByteArray& bytes)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return QStringLiteral("cannot make the folder %1").arg(QFileInfo(path).absolutePath());
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit())
        return QStringLiteral("cannot write %1: %2").arg(path, f.errorString());
    return {};
}

QMap<QString, QByteArray> readList(const QString& path)
{
    QMap<QString, QByteArray> list;
    const auto bytes = readFile(path);
    if (!bytes)
        return list;
    for (const QByteArray& line : bytes->split('\n')) {
        const qsizetype tab = line.indexOf('\t');
        if (tab > 0)
            list.insert(QString::fromUtf8(line.first(tab)), line.sliced(tab + 1));
    }
    return list;
}

/// A template new to a folder the user already works in comes with the
/// sample versions the release keeps for it, as it would in a fresh folder;
/// without them it would open as an empty page. The user's versions stay as
/// they are, and a store that cannot be written only goes without the samples.
void addSampleVersions(const QString& shipped, const QString& user, const QStringList& added)
{
    const QString store = kTextStores.first();
    if (added.contains(store))
        return; // a fresh copy holds them all
    const auto from = readFile(shipped + u'/' + store);
    auto mine = readFile(user + u'/' + store);
    if (!from || !mine)
        return;
    const QByteArray before = *mine;
    for (const QString& rel : added) {
        if (!rel.startsWith(QLatin1String("templates/")) || !rel.endsWith(QLatin1String(".ini")))
            continue;
        const auto page = readFile(user + u'/' + rel);
        const auto id = page ? IniDocument(*page).value(u"templateid", u"id") : std::nullopt;
        if (id && !id->isEmpty())
            *mine = withVersionsOf(*mine, *from, *id);
    }
    if (*mine != before)
        writeOutputFile(user + u'/' + store, *mine);
}

} // namespace

QString shippedProgramFolder(const QString& executableDir)
{
    if (QFileInfo(executableDir + QStringLiteral("/templates")).isDir())
        return {};
    const QString shipped = QDir::cleanPath(executableDir + QStringLiteral("/../share/nuvela"));
    return QFileInfo(shipped + QStringLiteral("/templates")).isDir() ? shipped : QString();
}

QString userProgramFolder()
{
    // What the program's own data location is: no organisation, the title
    // as the application's name.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + u'/'
        + QStringLiteral(NUVELA_TITLE);
}

QString defaultToolFolder(const QString& executableDir, const QString& bundled)
{
    if (shippedProgramFolder(executableDir).isEmpty())
        return bundled;
    const QString user = userProgramFolder();
    return QFileInfo(user + QStringLiteral("/templates")).isDir() ? user : bundled;
}

FolderSync syncUserFolder(const QString& shipped, const QString& user)
{
    FolderSync out;
    const QString listPath = user + u'/' + QLatin1String(kShippedList);
    QMap<QString, QByteArray> list = readList(listPath);
    const QMap<QString, QByteArray> before = list;
    const QDir from(shipped);
    QDirIterator it(shipped, QDir::Files, QDirIterator::Subdirectories);
    QStringList files;
    while (it.hasNext())
        files << from.relativeFilePath(it.next());
    files.sort();
    for (const QString& rel : files) {
        const auto bytes = readFile(shipped + u'/' + rel);
        if (!bytes) {
            out.error = QStringLiteral("cannot read %1").arg(shipped + u'/' + rel);
            return out;
        }
        const QByteArray sum = checksum(*bytes);
        const QString target = user + u'/' + rel;
        if (!QFileInfo::exists(target)) {
            if (list.contains(rel))
                continue; // removed by the user
            out.error = writeWhole(target, *bytes);
            out.added << rel;
        } else {
            if (list.value(rel) == sum || kTextStores.contains(rel))
                continue;
            const auto mine = readFile(target);
            if (!list.contains(rel)) {
                // Copied by a first start that never got to the end (killed, or
                // the disk filled up): a copy equal to the shipped file is the
                // shipped file, and later releases keep it up to date.
                if (mine && checksum(*mine) == sum)
                    list.insert(rel, sum);
                continue;
            }
            if (!mine || checksum(*mine) != list.value(rel))
                continue; // changed by the user
            out.error = writeWhole(target, *bytes);
            out.updated << rel;
        }
        if (!out.error.isEmpty())
            return out;
        list.insert(rel, sum);
    }
    addSampleVersions(shipped, user, out.added);
    if (list != before) {
        QByteArray text;
        for (auto e = list.cbegin(); e != list.cend(); ++e)
            text += e.key().toUtf8() + '\t' + e.value() + '\n';
        out.error = writeWhole(listPath, text);
    }
    return out;
}

} // namespace nuvela
