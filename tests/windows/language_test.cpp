#include "support/testdirs.h"
#include "windows/options/language.h"
#include "windows/options/sectionreader.h"

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

} // namespace
