#include "support/testdirs.h"
#include "windows/options/language.h"
#include "windows/options/sectionreader.h"

#include "store/inifiles.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace nuvela;

namespace {

TEST(Language, SectionReaderDecodesWindows1255AndTrims)
{
    test::ProgramFolder folder(test::ProgramFolder::Start::Empty);
    folder.write(QStringLiteral("he.lng"), test::ansi(QStringLiteral(
        "[other]\nx=1\n[ Picedit ]\n  flip.Caption=הפוך  \n\n   \nLabel1.Tag=a\n[next]\ny=2\n")));
    EXPECT_EQ(readSectionLines(folder.file(QStringLiteral("he.lng")), u"picedit"),
              (QStringList { QStringLiteral("flip.Caption=הפוך"), QStringLiteral("Label1.Tag=a") }));
    EXPECT_TRUE(readSectionLines(folder.file(QStringLiteral("he.lng")), u"missing").isEmpty());
    EXPECT_TRUE(readSectionLines(folder.file(QStringLiteral("none.lng")), u"picedit").isEmpty());
}

// The section buffer holds 1300 characters: the entries with their NULs and
// the NUL that ends the list; what it cuts is not applied (the shipped
// languages' test applies a cut section).
TEST(Language, BufferKeepsWholeEntriesOnly)
{
    const QString head = QStringLiteral("Label1.Tag=");
    const auto line = [&](int length) { return head + QString(length - head.size(), u'x'); };
    struct Case { const char* name; QList<int> lengths; int kept; };
    const Case cases[] = {
        { "fills the buffer exactly", { 649, 648 }, 2 }, // 650 + 649 = 1299
        { "one character too many", { 649, 649 }, 1 },   // 650 + 650 = 1300
        { "all beyond the cut go", { 1000, 400, 10 }, 1 },
        { "a first entry that is too long", { 1299 }, 0 },
    };
    for (const Case& c : cases) {
        QStringList lines;
        for (int length : c.lengths)
            lines.append(line(length));
        const QStringList kept = linesWithinBuffer(lines);
        EXPECT_EQ(kept, lines.mid(0, c.kept)) << c.name;
        EXPECT_LE(sectionBufferLength(kept), kLanguageSectionBuffer - 1) << c.name;
    }
}

// What a translator's editor may make of a language file: only what would
// show garbled or not at all is a fault; line ends and a byte order mark
// are read as they are.
TEST(Language, FaultsOfALanguageFile)
{
    test::ProgramFolder folder(test::ProgramFolder::Start::Empty);
    const QString text = QStringLiteral("[optionfrm]\r\nupdate.Caption=Mettre à jour\r\n");
    struct Case { const char* name; QByteArray bytes; bool utf8; const char* unreadable; };
    const Case cases[] = {
        {"Windows-1255 Hebrew", test::ansi(QStringLiteral("[optionfrm]\r\nupdate.Caption=עדכן הכל\r\n")), false, nullptr},
        {"LF line ends", QByteArray("[optionfrm]\nupdate.Caption=Update\n"), false, nullptr},
        {"a byte order mark", QByteArray("\xEF\xBB\xBF[optionfrm]\r\nupdate.Caption=Update\r\n"), false, nullptr},
        {"empty", QByteArray(), false, nullptr},
        {"UTF-8", text.toUtf8(), true, nullptr},
        {"UTF-8 with a byte order mark", "\xEF\xBB\xBF" + text.toUtf8(), true, nullptr},
        {"UTF-16", QByteArray("\xFF\xFE") + QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2),
         false, "NUL"},
    };
    for (const Case& c : cases) {
        folder.write(QStringLiteral("x.lng"), c.bytes);
        IniFiles files;
        const auto fault = languageFileFault(files, folder.file(QStringLiteral("x.lng")));
        EXPECT_EQ(fault.has_value(), c.utf8 || c.unreadable) << c.name;
        if (fault) {
            EXPECT_EQ(fault->utf8, c.utf8) << c.name;
            EXPECT_EQ(fault->unreadable.contains(QLatin1String(c.unreadable ? c.unreadable : "")), true) << c.name;
            EXPECT_EQ(fault->unreadable.isEmpty(), !c.unreadable) << c.name;
        }
    }
    // No file at all is no fault: the language quietly becomes Hebrew.
    QDir(folder.path()).mkdir(QStringLiteral("folder.lng"));
    IniFiles files;
    EXPECT_FALSE(languageFileFault(files, folder.file(QStringLiteral("folder.lng"))));
    EXPECT_FALSE(languageFileFault(files, folder.file(QStringLiteral("none.lng"))));
}

} // namespace
