#include "windows/options/sectionreader.h"

#include "store/inifiles.h"

namespace nuvela {

QStringList readSectionLines(const QString& path, QStringView section)
{
    // Read through the store's file layer: its limits and decoding hold here too.
    const auto doc = IniFiles().read(path);
    return doc ? doc->sectionLines(section).value_or(QList<QString>()) : QStringList();
}

} // namespace nuvela
