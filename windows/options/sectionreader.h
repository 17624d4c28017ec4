#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

namespace nuvela {

/// Every non-blank line of the first section of a store file named `section`
/// (without regard to case), in file order, with the blanks around each line
/// trimmed, decoded from Windows-1255. Empty when the file or the section is
/// missing.
QStringList readSectionLines(const QString& path, QStringView section);

} // namespace nuvela
