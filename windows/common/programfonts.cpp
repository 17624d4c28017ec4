#include "windows/common/programfonts.h"

#include <QDir>
#include <QFontDatabase>

#include <algorithm>

namespace nuvela {

ProgramFonts::~ProgramFonts() { removeAll(); }

int ProgramFonts::addFrom(const QString& programDir)
{
    const QDir dir(programDir);
    // Name filters ignore case, as the program's home system does.
    const QStringList names
        = dir.entryList({ QStringLiteral("*.ttf") }, QDir::Files | QDir::Readable, QDir::Unsorted);
    int count = 0;
    for (const QString& name : names) {
        const QString file = dir.absoluteFilePath(name);
        const bool known = std::any_of(added_.cbegin(), added_.cend(),
                                       [&](const Added& a) { return a.file == file; });
        if (known)
            continue;
        const int id = QFontDatabase::addApplicationFont(file);
        if (id < 0)
            continue;
        added_.append({ file, id });
        ++count;
    }
    return count;
}

void ProgramFonts::removeAll()
{
    for (const Added& font : std::as_const(added_))
        QFontDatabase::removeApplicationFont(font.id);
    added_.clear();
}

QStringList ProgramFonts::families() const
{
    QStringList all;
    for (const Added& font : added_) {
        const QStringList families = QFontDatabase::applicationFontFamilies(font.id);
        for (const QString& family : families) {
            if (!all.contains(family))
                all.append(family);
        }
    }
    return all;
}

QStringList ProgramFonts::files() const
{
    QStringList all;
    for (const Added& font : added_)
        all.append(font.file);
    return all;
}

QList<int> ProgramFonts::ids() const
{
    QList<int> all;
    for (const Added& font : added_)
        all.append(font.id);
    return all;
}

} // namespace nuvela
