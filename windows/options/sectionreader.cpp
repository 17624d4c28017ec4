#include "windows/options/sectionreader.h"

#include "store/inifiles.h"

#include <QFile>
#include <QFileInfo>

namespace nuvela {

QStringList readSectionLines(const QString& path, QStringView section)
{
    // A FIFO or device under the file's name would block the read forever.
    if (!QFileInfo(path).isFile())
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > IniFiles::kMaxFileSize)
        return {};
    return IniDocument(file.readAll()).sectionLines(section).value_or(QList<QString>());
}

} // namespace nuvela
