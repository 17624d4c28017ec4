#include "windows/options/settings.h"

#include "store/keystore.h"
#include "store/versions.h"

#include <QDir>

#include <algorithm>

namespace nuvela {

std::optional<int> parseQuality(const QString& text)
{
    bool ok = false;
    const int q = text.trimmed().toInt(&ok);
    if (!ok || q < kMinQuality || q > kMaxQuality)
        return std::nullopt;
    return q;
}

QStringList languageChoices(const QString& programDir)
{
    QStringList names;
    const QDir dir(programDir + QStringLiteral("/language"));
    for (const QString& file : dir.entryList({QStringLiteral("*.lng")}, QDir::Files))
        names << file.chopped(4);
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    names.removeAll(kHebrewChoice); // a file of that name is the same choice
    names.prepend(kHebrewChoice);
    return names;
}

StoreResult saveSettings(KeyStore& store, std::optional<int> quality, const std::optional<QString>& language)
{
    QList<StoreEntry> entries;
    if (quality)
        entries.append({QStringLiteral("jpgcompress"), QString::number(*quality)});
    if (language)
        entries.append({QStringLiteral("lang"), *language});
    if (entries.isEmpty())
        return {};
    return writeEntries(store.files(), store.pathFor(StoreMode::WriteTxt), QStringLiteral("interface"), entries);
}

} // namespace nuvela
