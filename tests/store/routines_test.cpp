#include "store/jpeg.h"
#include "store/inidocument.h"
#include "store/keystore.h"
#include "store/outputfile.h"
#include "store/pagestate.h"
#include "store/templates.h"
#include "support/testdirs.h"

#include <QDir>
#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

#include <cerrno>

using namespace nuvela;

TEST(Jpeg, QualityFromTheStore)
{
    const std::pair<const char16_t*, int> cases[] = {
        {u"80", 80}, {u"failed", 75}, {u"", 75}, {u"abc", 75}, {u"80.5", 80}, {u"81.5", 82}, {u"79.6", 80},
        {u"150", 100}, {u"0", 1}, {u"-5", 1}, {u" 90 ", 90}};
    for (auto [text, q] : cases)
        EXPECT_EQ(jpegQualityFrom(QStringView(text)), q) << QString::fromUtf16(text).toStdString();

    test::ProgramFolder folder(test::ProgramFolder::Start::Empty);
    PageState state;
    KeyStore store(folder.path(), state);
    EXPECT_EQ(jpegQuality(store), 75);
    folder.write("templates/textdata.txt", test::ansi("[interface]\njpgcompress=40\n"));
    EXPECT_EQ(jpegQuality(store), 40);
}

TEST(StoreLimits, FilesBeyondAnyPageAreRefusedWithTheReason)
{
    // refusal "": accepted
    struct Case { QByteArray bytes; const char* refusal; };
    const Case cases[] = {
        {QByteArray("[s]\r\nk=v\r\n").repeated(IniDocument::kMaxSections), ""},
        {QByteArray("[s]\r\nk=v\r\n").repeated(IniDocument::kMaxSections + 1), "sections"},
        {QByteArray("\r").repeated(IniDocument::kMaxLines + 1), "lines"},
        {QByteArray("\r\n").repeated(IniDocument::kMaxLines + 1), "lines"},
    };
    for (const Case& c : cases) {
        const IniDocument doc(c.bytes);
        EXPECT_NE(doc.refusal().indexOf(QLatin1String(c.refusal)), -1) << doc.refusal().toStdString();
        EXPECT_EQ(doc.refusal().isEmpty(), !*c.refusal);
    }
    // The refused file is named, the text store or the template (also after
    // another template was open).
    for (const char* refused : {"templates/textdata.txt", "templates/t.ini"}) {
        test::ProgramFolder folder(test::ProgramFolder::Start::Empty);
        folder.write("templates/t.ini", "[templateid]\r\nid=101\r\n");
        folder.write("templates/other.ini", "[templateid]\r\nid=102\r\n");
        PageState state;
        KeyStore store(folder.path(), state);
        ASSERT_EQ(selectTemplate(store, state, QStringLiteral("other")), QString());
        folder.write(QString::fromLatin1(refused), QByteArray("[a]\r\n").repeated(IniDocument::kMaxSections + 1));
        const QString why = selectTemplate(store, state, QStringLiteral("t"));
        EXPECT_TRUE(why.contains(folder.file(QString::fromLatin1(refused))) && why.contains(u"sections"))
            << why.toStdString();
        EXPECT_EQ(state.tavnit, u"other");
    }
    test::ProgramFolder folder(test::ProgramFolder::Start::Empty);
    folder.write("templates/textdata.txt", QByteArray("[a]\r\n").repeated(IniDocument::kMaxSections + 1));
    PageState state;
    KeyStore store(folder.path(), state);
    EXPECT_NE(store.write(StoreMode::WriteTxt, u"a", u"k", u"v").error.indexOf(u"sections"), -1);
}

// What keeps a template from opening is said as it is: a file that is
// there but no regular file is not "no template".
TEST(StoreLimits, ATemplateThatCannotBeOpenedSaysWhy)
{
    struct Case { const char* made; const char* says; };
    const Case cases[] = {
        {"nothing", "There is no template \"t\" in "},
        {"dangling link", "There is no template \"t\" in "},
        {"link to /dev/zero", "t.ini is not a regular file but a folder, device or pipe"},
        {"folder", "t.ini is not a regular file but a folder, device or pipe"},
    };
    for (const Case& c : cases) {
        test::ProgramFolder folder(test::ProgramFolder::Start::Empty);
        folder.write("templates/other.ini", "[templateid]\r\nid=102\r\n");
        const QString path = folder.file("templates/t.ini");
        const QByteArray made = c.made;
        bool ok = true;
        if (made == "dangling link")
            ok = QFile::link(folder.file("templates/gone.ini"), path);
        else if (made == "link to /dev/zero")
            ok = QFile::link(QStringLiteral("/dev/zero"), path);
        else if (made == "folder")
            ok = QDir().mkpath(path);
        ASSERT_TRUE(ok) << c.made;
        PageState state;
        KeyStore store(folder.path(), state);
        const QString why = selectTemplate(store, state, QStringLiteral("t"));
        EXPECT_NE(why.indexOf(QString::fromUtf8(c.says)), -1) << c.made << ": " << why.toStdString();
        EXPECT_TRUE(state.tavnit.isEmpty()) << c.made;
    }
}

TEST(OutputFiles, FailuresNameTheFileAndWhatToDo)
{
    struct Case { int error; const char* device; const char* says; };
    const Case cases[] = {
        {ENOSPC, "Unknown error", "No space left on device. Free some space"},
        {EACCES, "Permission denied", "Choose a folder you may write to"},
        {0, "Device is gone", "Device is gone"},
    };
    for (const Case& c : cases) {
        const QString message = outputFailure(QStringLiteral("/tmp/card.jpg"), c.error, QString::fromUtf8(c.device));
        EXPECT_TRUE(message.startsWith(u"Cannot write /tmp/card.jpg: ")) << message.toStdString();
        EXPECT_NE(message.indexOf(QString::fromUtf8(c.says)), -1) << message.toStdString();
    }
    // Pages are encoded a row at a time, as 24-bit bitmaps.
    test::ProgramFolder folder(test::ProgramFolder::Start::Empty);
    ASSERT_TRUE(saveBmp(QImage(8, 8, QImage::Format_RGB32), folder.file("page.bmp")).ok());
    EXPECT_EQ(folder.read("page.bmp").mid(28, 2), QByteArray("\x18\0", 2));
}
