#include "store/ansi.h"
#include "store/keystore.h"
#include "store/pagestate.h"
#include "support/testdirs.h"

#include <QFile>
#include <QFileDevice>

#include <gtest/gtest.h>

#include <array>
#include <sys/stat.h>
#include <utime.h>

using namespace nuvela;
using namespace Qt::StringLiterals;

namespace {

// A template file as authors write them: comments, blank lines, odd spacing,
// a duplicate section and key, Hebrew with vowel points.
const QString kTemplate = QStringLiteral(
    "; page of a birthday card\n"
    "[templateid]\n"
    "id=101\n"
    "\n"
    "[Paper]\n"
    "  Size =  11906,16838  \n"
    "align=rtl\n"
    "quoted=\"with quotes\"\n"
    "starts=Failed to load\n"
    "unknown line without equals\n"
    "[paper]\n"
    "size=1,1\n"
    "[object3]\n"
    "objtype=malben\n"
    "objtype=circle\n"
    "shura1=255,David,24,True,177,0,right,0\n"
    "hebrew=שָׁלוֹם עוֹלָם\n");

struct StoreFixture : testing::Test {
    test::ProgramFolder folder{test::ProgramFolder::Start::Empty};
    PageState state;
    KeyStore store{folder.path(), state};
    void SetUp() override
    {
        folder.write("templates/card.ini", test::ansi(kTemplate));
        state.tavnit = QStringLiteral("card");
    }
};

TEST_F(StoreFixture, ReadsAnswerAsTheFormatsSay)
{
    struct Case { const char16_t *mode, *section, *key, *expected; };
    const Case cases[] = {
        {u"get", u"templateid", u"id", u"101"}, // plain
        {u"get", u"PAPER", u"size", u"11906,16838"}, // names ignore case and blanks are trimmed
        {u"get", u"paper", u"SIZE", u"11906,16838"}, // first section of a name wins
        {u"get", u"object3", u"objtype", u"malben"}, // first key wins
        {u"get", u"object3", u"shura1", u"255,David,24,True,177,0,right,0"}, // section built from word and number
        {u"get", u"paper", u"quoted", u"\"with quotes\""}, // quotes are kept
        {u"get", u"paper", u"starts", u"failed"}, // value beginning with Failed is a miss
        {u"get", u"object3", u"hebrew", u"שָׁלוֹם עוֹלָם"}, // vowel points survive
        {u"get", u"paper", u"nothing", u"failed"}, // missing key
        {u"get", u"object9", u"objtype", u"failed"}, // missing section
        {u"get", u"paper", u"unknown line without equals", u"failed"}, // line without equals is no key
        {u"GET", u"templateid", u"id", u"101"}, // mode word get in capitals
        {u"gettxt", u"interface", u"lang", u"failed"}, // missing text store
        {u"GETTXT", u"interface", u"lang", u""}, // other mode words are exact
        {u"read", u"templateid", u"id", u""}, // unknown mode
    };
    for (const Case& c : cases)
        EXPECT_EQ(store.keyValue(QStringView(c.mode), QStringView(c.section), QStringView(c.key)).text,
                  QString::fromUtf16(c.expected))
            << QString::fromUtf16(c.section).toStdString() << "." << QString::fromUtf16(c.key).toStdString();

    // Long values read back whole.
    const QString longText = QString(3000, u'א') + QStringLiteral("end");
    ASSERT_TRUE(store.write(StoreMode::WriteTxt, u"tav101girsa1", u"txt1", longText).ok());
    EXPECT_EQ(store.get(StoreMode::GetTxt, u"tav101girsa1", u"txt1"), longText);
}

TEST_F(StoreFixture, WritingChangesOnlyTheWrittenValue)
{
    const QByteArray before = folder.read("templates/card.ini");
    ASSERT_TRUE(store.keyValue(u"write", u"paper", u"size", u"100,200").ok());
    QByteArray expected = before;
    expected.replace("  Size =  11906,16838  ", "  Size =100,200");
    EXPECT_EQ(folder.read("templates/card.ini"), expected);
    EXPECT_EQ(store.get(StoreMode::Get, u"paper", u"size"), u"100,200");

    // Writing the old value back restores the file byte for byte, apart from
    // the blanks that were never part of the value.
    ASSERT_TRUE(store.keyValue(u"Write", u"PAPER", u"size", u"11906,16838").ok());
    expected.replace("  Size =100,200", "  Size =11906,16838");
    EXPECT_EQ(folder.read("templates/card.ini"), expected);
}

// Writes into the text store, byte for byte: a new file, new sections and
// keys in place, line breaks inside a value turned into row marks.
TEST_F(StoreFixture, WritesPlaceEachValueWhereItBelongs)
{
    // before nullptr: no text store yet
    struct Case { const char* before; std::vector<std::array<const char16_t*, 3>> writes; const char* after; };
    const Case cases[] = {
        {nullptr,
         {{u"interface", u"lang", u"english"}, {u"tav101girsa1", u"txt0", u"ok"}, {u"interface", u"jpgcompress", u"80"},
          {u"tav101girsa1", u"txt1", u"שורה~שנייה"}},
         "[interface]\nlang=english\njpgcompress=80\n[tav101girsa1]\ntxt0=ok\ntxt1=שורה~שנייה\n"},
        // After the section's last entry, not after its trailing blank lines.
        {"[a]\nx=1\n\n[b]\ny=2", {{u"a", u"z", u"3"}, {u"b", u"w", u"4"}}, "[a]\nx=1\nz=3\n\n[b]\ny=2\nw=4\n"},
        {nullptr, {{u"s", u"k", u"a\r\nb\rc\nd"}}, "[s]\nk=a~b~c~d\n"},
    };
    for (const Case& c : cases) {
        QFile::remove(folder.file("templates/textdata.txt"));
        if (c.before)
            folder.write("templates/textdata.txt", test::ansi(QString::fromUtf8(c.before)));
        for (const auto& [section, key, value] : c.writes)
            ASSERT_TRUE(store.write(StoreMode::WriteTxt, section, key, value).ok()) << c.after;
        EXPECT_EQ(folder.read("templates/textdata.txt"), test::ansi(QString::fromUtf8(c.after)));
    }
    EXPECT_EQ(store.get(StoreMode::GetTxt, u"s2", u"k"), kFailed); // no false section opened
}

TEST_F(StoreFixture, RefusedWritesLeaveTheFileAsItWas)
{
    const QByteArray before = folder.read("templates/card.ini");
    const KeyResult empty = store.keyValue(u"write", u"paper", u"size", u"");
    EXPECT_EQ(empty.text, kErrorKeyValue);
    EXPECT_EQ(store.keyValue(u"write", u"paper", u"size").text, kErrorKeyValue);

    for (const QString& value : {u"€ 中"_s, u"1\0 2"_s}) { // a NUL would have the file refused whole
        const KeyResult unencodable = store.write(StoreMode::Write, u"paper", u"size", value);
        EXPECT_FALSE(unencodable.ok());
        EXPECT_NE(unencodable.error.indexOf(u"Windows-1255"), -1);
    }

    QFile::setPermissions(folder.file("templates/card.ini"), QFileDevice::ReadOwner);
    const KeyResult readOnly = store.write(StoreMode::Write, u"paper", u"size", u"1,2");
    EXPECT_FALSE(readOnly.ok());
    EXPECT_NE(readOnly.error.indexOf(u"read-only"), -1) << readOnly.error.toStdString();
    QFile::setPermissions(folder.file("templates/card.ini"), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(folder.read("templates/card.ini"), before);

    PageState other;
    other.tavnit = QStringLiteral("card");
    KeyStore nowhere(folder.path() + QStringLiteral("/no-such-folder"), other);
    EXPECT_FALSE(nowhere.write(StoreMode::Write, u"paper", u"size", u"1,2").ok());
}

// Files another editor saved: a UTF-8 byte order mark hides no section and
// stays; UTF-16 is refused whole, and a write leaves it byte for byte
// instead of adding Windows-1255 lines to it.
TEST_F(StoreFixture, FilesSavedByOtherEditors)
{
    const QByteArray plain = "[interface]\r\nlang=english\r\n";
    QByteArray utf16("\xFF\xFE", 2);
    for (const char c : plain)
        utf16 += QByteArray(1, c) + QByteArray(1, '\0');
    struct Case { QByteArray before; const char16_t* lang; QByteArray after; };
    const Case cases[] = {
        {"\xEF\xBB\xBF" + plain, u"english", "\xEF\xBB\xBF" + plain + "jpgcompress=80\r\n"},
        {utf16, u"failed", utf16},
    };
    for (const Case& c : cases) {
        folder.write("templates/textdata.txt", c.before);
        EXPECT_EQ(store.get(StoreMode::GetTxt, u"interface", u"lang"), QString::fromUtf16(c.lang));
        const KeyResult written = store.write(StoreMode::WriteTxt, u"interface", u"jpgcompress", u"80");
        EXPECT_EQ(written.ok(), c.after != c.before);
        EXPECT_EQ(written.ok() || written.error.contains(u"UTF-16"), true) << written.error.toStdString();
        EXPECT_EQ(folder.read("templates/textdata.txt"), c.after);
    }
}

TEST_F(StoreFixture, CacheNeverServesStaleData)
{
    EXPECT_EQ(store.get(StoreMode::Get, u"templateid", u"id"), u"101");
    // Another program changes the file: same size, same second.
    QByteArray bytes = folder.read("templates/card.ini");
    bytes.replace("id=101", "id=202");
    folder.write("templates/card.ini", bytes);
    EXPECT_EQ(store.get(StoreMode::Get, u"templateid", u"id"), u"202");

    // Also when its modification time is set back to what it was long ago.
    const QByteArray path = QFile::encodeName(folder.file("templates/card.ini"));
    utimbuf old{1000000000, 1000000000};
    ASSERT_EQ(utime(path.constData(), &old), 0);
    EXPECT_EQ(store.get(StoreMode::Get, u"templateid", u"id"), u"202");
    bytes.replace("id=202", "id=303");
    folder.write("templates/card.ini", bytes);
    ASSERT_EQ(utime(path.constData(), &old), 0);
    EXPECT_EQ(store.get(StoreMode::Get, u"templateid", u"id"), u"303");

    QFile::remove(folder.file("templates/card.ini"));
    EXPECT_EQ(store.get(StoreMode::Get, u"templateid", u"id"), kFailed);
}

// Bytes the code page leaves undefined are read as replacement characters
// and, on lines nobody touched, written back as they were.
TEST(Ansi, UndefinedBytesVowelPointsAndUntouchedLines)
{
    // Alef with qamats, bet; 0xFF is undefined in the code page.
    EXPECT_EQ(decodeAnsi("\xE0\xC8\xE1"), QStringLiteral("אָב"));
    EXPECT_EQ(decodeAnsi("\xFF"), QString(QChar::ReplacementCharacter));
    EXPECT_EQ(encodeAnsi(QStringLiteral("אָב")), QByteArray("\xE0\xC8\xE1"));
    EXPECT_FALSE(encodeAnsi(QStringLiteral("中")).has_value());
    IniDocument doc(QByteArray("[s]\r\nraw=\xFF\x81\r\nk=1\r\n"));
    ASSERT_TRUE(doc.setValue(u"s", u"k", u"2"));
    EXPECT_EQ(doc.bytes(), QByteArray("[s]\r\nraw=\xFF\x81\r\nk=2\r\n"));
    EXPECT_EQ(doc.sectionLines(u"S"), (QList<QString>{QStringLiteral("raw=\uFFFD\u0081"), QStringLiteral("k=2")}));
}

} // namespace
