#include "store/templates.h"

#include "store/ansi.h"
#include "store/keystore.h"
#include "store/pagestate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include <dirent.h>

namespace nuvela {

QStringList listTemplates(const QString& programDir)
{
    QStringList names;
    const QDir dir(programDir + QStringLiteral("/templates"));
    for (const QFileInfo& f : dir.entryInfoList({QStringLiteral("*.ini")}, QDir::Files)) {
        // Windows matches "*.ini" without regard to case; so do we.
        names << f.fileName().chopped(4);
    }
    const QStringList more = dir.entryList({QStringLiteral("*.INI"), QStringLiteral("*.Ini")}, QDir::Files);
    for (const QString& f : more)
        if (!names.contains(f.chopped(4)))
            names << f.chopped(4);
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    return names;
}

QStringList unlistableTemplates(const QString& programDir)
{
    // Qt leaves out of its listings the names it cannot decode, so the
    // folder is read as bytes.
    QStringList names;
    const QByteArray folder = QFile::encodeName(programDir + QStringLiteral("/templates"));
    DIR* dir = opendir(folder.constData());
    if (!dir)
        return names;
    while (const dirent* entry = readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name.size() <= 4 || name.right(4).toLower() != ".ini")
            continue;
        if (QString::fromUtf8(name).toUtf8() != name)
            names << decodeAnsi(name.chopped(4));
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

QString selectTemplate(KeyStore& store, PageState& state, const QString& name)
{
    const QString path = templateFilePath(store.programDir(), name);
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("There is no template \"%1\" in %2.")
            .arg(name, QDir::toNativeSeparators(info.absolutePath()));
    // It is there, so "no template" would send the user looking for nothing.
    if (!info.isFile())
        return QStringLiteral("The template file %1 is not a regular file but a folder, device or pipe.")
            .arg(QDir::toNativeSeparators(path));
    if (!info.isReadable())
        return QStringLiteral("The template file %1 cannot be read.").arg(path);
    // Files far beyond any page are refused whole, with the reason, rather
    // than read as if they had no keys.
    const QString previous = state.tavnit;
    state.tavnit = name; // the template file is the selected one's
    for (const StoreMode mode : {StoreMode::Get, StoreMode::GetTxt}) {
        if (const QString why = store.refusal(mode); !why.isEmpty()) {
            const QString refused = store.pathFor(mode); // named while it is the chosen template's
            state.tavnit = previous;
            return QStringLiteral("The file %1 cannot be used: %2.").arg(refused, why);
        }
    }
    state.tavnit = name;
    state.templateId = store.get(StoreMode::Get, u"templateid", u"id");
    state.align = store.get(StoreMode::Get, u"paper", u"align");
    // Anything but "true" (also a missing key) means the colours are the template's.
    state.colourEdit = store.get(StoreMode::Get, u"paper", u"coloredit").compare(u"true", Qt::CaseInsensitive) == 0;
    state.version = 1;
    state.versionCount = 1;
    state.modified.clear();
    state.overlaysPlaced = false;
    removeOverlays(state);
    state.liveTexts.clear();
    state.liveFormats.clear();
    state.headline = {};
    return {};
}

QString versionSection(const QString& templateId, int n)
{
    return QStringLiteral("tav%1girsa%2").arg(templateId).arg(n);
}

int countVersions(KeyStore& store, const PageState& state)
{
    int n = 1;
    while (n <= kMaxCountedVersions
           && store.get(StoreMode::GetTxt, versionSection(state.templateId, n), u"txt0") != kFailed)
        ++n;
    return std::max(1, n - 1);
}

} // namespace nuvela
