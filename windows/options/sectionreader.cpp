#include "windows/options/sectionreader.h"

#include "store/inifiles.h"

#include <QFile>

namespace nuvela {

QStringList readSectionLines(const QString& path, QStringView section)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > IniFiles::kMaxFileSize)
        return {};
    return IniDocument(file.readAll()).sectionLines(section).value_or(QList<QString>());
}

} // namespace nuvela
