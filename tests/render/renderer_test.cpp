#include "app/runner.h"
#include "support/testdirs.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

TEST(Renderer, FailuresSayWhyAndLeaveNoFile)
{
    test::ProgramFolder folder(test::ProgramFolder::Start::Empty);
    folder.write("templates/huge.ini", test::ansi("[templateid]\nid=101\n[paper]\nsize=9000000,100\n"));
    folder.write("templates/ok.ini", test::ansi("[templateid]\nid=101\n[paper]\nsize=1500,1500\n"));
    QTemporaryDir out;
    const QString target = out.filePath("page.png");
    struct Case { QStringList args; const char* says; };
    const Case cases[] = {
        {{"--program-dir", folder.path(), "--template", "nothing", "-o", target}, "no template"},
        {{"--program-dir", folder.path(), "--template", "huge", "-o", target}, "at most"},
        {{"--program-dir", folder.path(), "--template", "ok", "--version", "3", "-o", target}, "no stored version"},
        {{"--program-dir", folder.path(), "--template", "ok", "-o", out.filePath("no/such/dir/p.png")}, "Cannot write"},
        {{"--program-dir", folder.path(), "--template", "ok", "-o", out.filePath("page.gif")}, "format"},
        {{"--template", "ok", "--scale", "0", "-o", target}, "--scale"},
        {{"--template", "ok"}, "-o FILE"},
    };
    for (const Case& c : cases) {
        const test::Run r = test::runRenderer(c.args);
        EXPECT_NE(r.exitCode, 0) << c.says;
        EXPECT_TRUE(r.err.startsWith(u"Error: ")) << r.err.toStdString();
        EXPECT_EQ(r.err.count(u'\n'), 1) << r.err.toStdString();
        EXPECT_NE(r.err.indexOf(QLatin1String(c.says)), -1) << r.err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(target)) << c.says;
    }
}

// Files that are not what they seem, and inputs far beyond any page: each
// ends, in bounded time, with at most one "Error: " line that says why, and
// nothing but a regular output file is ever written.
TEST(Renderer, HostileFilesEndInOneLineAndReplaceNothingSpecial)
{
    test::ProgramFolder folder(test::ProgramFolder::Start::Empty);
    ASSERT_TRUE(QFile::copy(test::stagedDataDir() + QStringLiteral("/nvdb.db"), folder.file("nvdb.db")));
    const auto page = [](const QString& objects) {
        return test::ansi(QStringLiteral("[templateid]\nid=101\n[paper]\nsize=3000,3000\n") + objects);
    };
    folder.write("templates/missing.ini", page("[object1]\nobjtype=fixpicture\npicdim=0,0,900,900\npicname=Gone\n"));
    folder.write("templates/frame.ini", page("[object1]\nobjtype=picture\npicdim=0,0,900,900\n"));
    QByteArray rows = "[object1]\r\nobjtype=fixtext\r\nobjdim=0,0,3000,900\r\n";
    for (int k = 1; k <= 10; ++k) // ten rows of a megabyte each
        rows += QStringLiteral("shura%1=0,Arial,12,0,0,0,right,0\r\ntxt%1=").arg(k).toLatin1() + QByteArray(1 << 20, 'w') + "\r\n";
    folder.write("templates/long.ini", page({}) + rows);
    folder.write("templates/sections.ini", page({}) + QByteArray("[s]\r\nk=v\r\n").repeated(60000));
    // A damaged picture is the placeholder's business, not a reason for the
    // decoder libraries below Qt to talk on the error stream.
    QByteArray png = test::readFile(test::stagedDataDir() + QStringLiteral("/nopic.png"));
    for (qsizetype i = 60; i < png.size(); i += 7)
        png[i] = char(png[i] ^ 0x55);
    folder.write("temppic/bad.png", png);
    folder.write("templates/damaged.ini", page("[object1]\nobjtype=fixpicture\npicdim=100,100,2000,2000\npicname=bad.png\n"));
    QTemporaryDir out;
    const QString fifo = out.filePath("fifo"), file = out.filePath("kept.png");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(folder.file("nopic.png")).constData(), 0600), 0);
    folder.write("readonly.png", "mine");
    QFile::setPermissions(folder.file("readonly.png"), QFile::ReadOwner);
    QFile::link(fifo, out.filePath("to-fifo.png"));
    QFile::link(file, out.filePath("to-file.png"));

    // says nullptr: drawn
    struct Case { const char* tavnit; QString output; const char* says; };
    const Case cases[] = {
        {"missing", out.filePath("stopped.pdf"), "The picture titled \"Gone\" is not in the image database nvdb.db (table fixpic)"},
        {"missing", out.filePath("stopped.png"), "is not in the image database"},
        {"frame", out.filePath("frame.png"), nullptr},     // a FIFO as placeholder is no picture
        {"long", out.filePath("long.png"), nullptr},       // rows show what a page can hold
        {"sections", out.filePath("s.png"), "sections, more than"},
        {"frame", out.filePath("to-fifo.png"), "not a regular file"},
        {"frame", out.filePath("to-file.png"), nullptr},   // written through the link
        {"damaged", out.filePath("damaged.png"), nullptr},
        {"frame", folder.file("readonly.png"), "read-only"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.output.toStdString());
        const test::Run r = test::runRenderer({"--program-dir", folder.path(), "--template", c.tavnit, "-o", c.output});
        EXPECT_EQ(r.exitCode, c.says ? 1 : 0) << r.err.toStdString();
        if (c.says) {
            EXPECT_TRUE(r.err.startsWith(u"Error: ") && r.err.count(u'\n') == 1) << r.err.toStdString();
            EXPECT_NE(r.err.indexOf(QString::fromUtf8(c.says)), -1) << r.err.toStdString();
        }
#if !defined(__SANITIZE_ADDRESS__) // sanitizer builds keep the error stream for their reports
        else {
            EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
        }
#endif
    }
    QFile::remove(folder.file("nvdb.db"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(folder.file("nvdb.db")).constData(), 0600), 0);
    const test::Run fifoDatabase = test::runRenderer({"--program-dir", folder.path(), "--template", "missing", "-o", file});
    EXPECT_NE(fifoDatabase.err.indexOf(u"is not a regular file"), -1) << fifoDatabase.err.toStdString();
    EXPECT_TRUE(QFileInfo(fifo).exists() && !QFileInfo(fifo).isFile());
    EXPECT_TRUE(QFileInfo(out.filePath("to-file.png")).isSymLink());
    EXPECT_TRUE(QImageReader(file).canRead());
    EXPECT_EQ(folder.read("readonly.png"), "mine");
}

} // namespace
