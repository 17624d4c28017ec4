#include "windows/options/sectionreader.h"

#include <QFile>
#include <QStringDecoder>

namespace nuvela {

QStringList readSectionLines(const QString& path, QStringView section)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringDecoder decode("windows-1255");
    const QString text = decode(file.readAll());

    QStringList lines;
    bool inside = false;
    bool found = false;
    for (QStringView raw : QStringView(text).split(u'\n')) {
        const QStringView line = raw.trimmed(); // also drops the CR of CR LF
        if (line.startsWith(u'[')) {
            const qsizetype close = line.indexOf(u']');
            if (close > 0) {
                if (found)
                    break; // only the first section of that name counts
                inside = line.mid(1, close - 1).trimmed().compare(section, Qt::CaseInsensitive) == 0;
                found = inside;
                continue;
            }
        }
        if (inside && !line.isEmpty())
            lines.append(line.toString());
    }
    return lines;
}

} // namespace nuvela
