// nuvela-render --merge: cards from a table, compared with single renders.

#include "app/mergetable.h"
#include "runner.h"
#include "support/testdirs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

/// A program folder whose family-times template has version 1 and, as
/// single renders see them, the cards rows 1 and 3 of the table must give.
struct MergeFolder {
    test::ProgramFolder folder;
    QString photo;
    MergeFolder()
    {
        photo = folder.file("guests/anna.jpg");
        QDir().mkpath(folder.file("guests"));
        QFile::copy(folder.file("temppic/sample_cat.jpg"), photo);
        folder.write("templates/textdata.txt", test::ansi(QStringLiteral(
            "[tav104girsa1]\ntxt0=ok\ntxt5=Grandma Turns Ninety!~Three generations\npic7=sample_beach.jpg\n"
            "[tav104girsa2]\ntxt0=ok\ntxt5=שלום אנה!~From all of us\npic7=%1\n"
            "[tav104girsa3]\ntxt0=ok\ntxt5=Grandma Turns Ninety!~Three generations\npic7=sample_beach.jpg\n"
            "cotarcolor=255\n").arg(photo)));
    }
};

QImage image(const QString& path) { return QImage(path).convertToFormat(QImage::Format_RGB32); }

// Three rows, the second one bad: the others are drawn exactly as the
// versions that hold the same values, by two workers, and the exit status
// says a row was skipped.
TEST(Merge, CardsMatchSingleRendersAndBadRowsAreSkipped)
{
    MergeFolder m;
    // "#name" is a note: it names the files and draws nothing.
    const QByteArray table = "#name;txt5;pic7;cotarcolor\r\n"
                             "Anna;\"שלום אנה!\r\nFrom all of us\";guests/anna.jpg;\r\n"
                             "Ben;Ben;guests/ben.jpg;\r\n"
                             "Dana;;;255\r\n";
    for (const char* encoding : {"UTF-8", "windows-1255"}) {
        SCOPED_TRACE(encoding);
        QStringEncoder encode(encoding);
        m.folder.write("table.csv", encode(QString::fromUtf8(table)));
        QTemporaryDir out;
        const QStringList common{"--program-dir", m.folder.path(), "--template", "family-times"};
        const test::Run r = test::runRenderer(common + QStringList{"--merge", m.folder.file("table.csv"), "--jobs", "2",
                                                                    "-o", out.filePath("cards/{row}-{name}.png")});
        EXPECT_EQ(r.exitCode, 3) << r.err.toStdString();
        EXPECT_EQ(r.err.count(u'\n'), 2) << r.err.toStdString();
        EXPECT_TRUE(r.err.endsWith(u", 1 row skipped\n")) << r.err.toStdString();
        EXPECT_TRUE(r.err.startsWith(u"Error: row 2 (line 4): the picture \"guests/ben.jpg\"")) << r.err.toStdString();
        EXPECT_FALSE(r.err.contains(u'\r')) << "a progress line off the terminal";
        EXPECT_EQ(QDir(out.filePath("cards")).entryList(QDir::Files), (QStringList{"1-Anna.png", "3-Dana.png"}));
        for (const auto& [card, version] : {std::pair{"cards/1-Anna.png", "2"}, std::pair{"cards/3-Dana.png", "3"}}) {
            ASSERT_EQ(test::runRenderer(common + QStringList{"--version", version, "-o", out.filePath("single.png")}).exitCode, 0);
            EXPECT_EQ(image(out.filePath(card)), image(out.filePath("single.png"))) << card;
        }

        // The same table as one PDF: a page per good row, in row order.
        const test::Run pdf = test::runRenderer(common + QStringList{"--merge", m.folder.file("table.csv"),
                                                                      "-o", out.filePath("all.pdf")});
        EXPECT_EQ(pdf.exitCode, 3) << pdf.err.toStdString();
        EXPECT_NE(test::runTool("pdfinfo", {out.filePath("all.pdf")}).indexOf(QRegularExpression("Pages:\\s+2\\n")), -1);
        ASSERT_EQ(test::runRenderer(common + QStringList{"--version", "3", "-o", out.filePath("v3.pdf")}).exitCode, 0);
        const QList<QImage> pages = test::pdfPages(out.filePath("all.pdf"));
        ASSERT_EQ(pages.size(), 2);
        // A font the document already holds from an earlier page (here with
        // Hebrew glyphs) may place a row's glyphs a fraction of a pixel
        // apart: antialiasing of one headline differs, nothing more.
        EXPECT_LT(test::differingShare(pages[1], test::pdfPages(out.filePath("v3.pdf")).value(0)), 0.005);
        EXPECT_NE(pages[0], pages[1]);
    }
}

// What makes a whole table unusable ends in one line and exit status 1;
// a table without a bad row gives 0.
TEST(Merge, ExitStatusAndTableMistakes)
{
    MergeFolder m;
    m.folder.write("good.csv", "txt5,version\nHello,1\nWorld,3\n");
    m.folder.write("wrong.csv", "txt99\nHello\n");
    m.folder.write("allbad.csv", "pic7\nnone.jpg\n");
    m.folder.write("extra.csv", "txt5\nHello,surplus\nfine\n");
    m.folder.write("typo.csv", "txt5,tetx6,guest\nHello,World,Anna\n");
    m.folder.write("twice.csv", "txt5,pic7,TXT5\nHello,,World\n");
    m.folder.write("halfway.csv", "txt5,version\nHello,1.5\nWorld,1\n");
    m.folder.write("folderpic.csv", "txt5,pic7\nHello,guests\nWorld,\n");
    m.folder.write("wide.csv", "txt5,pic7\nHello,wide.png\n");
    QImage(20001, 1, QImage::Format_Mono).save(m.folder.file("wide.png"));
    // Cards named into the photos' own folder: a card never replaces a
    // picture the run draws, nor the table.
    m.folder.write("guests/own.png", "#name,txt5,pic7\nanna,Hello,anna.jpg\nown,Hi,\nx:y?,Hey,\n");
    const QByteArray photo = test::readFile(m.photo), ownTable = m.folder.read("guests/own.png");
    m.folder.write("blocked", "a file where a folder is wanted");
    m.folder.write("table.pdf", "txt5\nHello\n");
    // A picture whose header passes but which has no size: found out only
    // when decoded, and then its page must not be in the PDF.
    QByteArray damaged = test::readFile(m.photo);
    damaged.replace(damaged.indexOf("\xFF\xC0") + 5, 4, QByteArray(4, 0));
    m.folder.write("damaged.jpg", damaged);
    m.folder.write("cases.csv", "#name,txt5\nNoa,Hello\nnoa,World\n");
    m.folder.write("stock.csv", "#name,txt5\nsample_beach,Hello\n");
    const QByteArray beach = m.folder.read("temppic/sample_beach.jpg");
    m.folder.write("damaged.csv", "txt5,pic7\nHello,damaged.jpg\nWorld,\n");
    ASSERT_EQ(mkfifo(QFile::encodeName(m.folder.file("fifo.csv")).constData(), 0600), 0);
    ASSERT_EQ(mkfifo(QFile::encodeName(m.folder.file("fifo.pdf")).constData(), 0600), 0);
    QTemporaryDir out;
    struct Case {
        const char* table;
        QString output;
        int status;
        const char* says; ///< in the first line of stderr ("" for none)
    };
    const Case cases[] = {
        {"good.csv", out.filePath("{row}.jpg"), 0, ""},
        {"good.csv", out.filePath("same.jpg"), 1, "put {row} or a {column}"},
        {"good.csv", out.filePath("{row}.pdf"), 0, ""},
        {"good.csv", out.filePath("{who}.jpg"), 1, "{who}, which is no column"},
        {"wrong.csv", out.filePath("{row}.jpg"), 1, "no text object 99"},
        {"allbad.csv", out.filePath("{row}.jpg"), 1, "neither beside the table nor in temppic"},
        {"extra.csv", out.filePath("x{row}.png"), 3, "row 1 (line 2): a cell beyond the header"},
        {"missing.csv", out.filePath("{row}.jpg"), 1, "Cannot read the table"},
        // A column that names nothing is a typo, unless -o names files by it.
        {"typo.csv", out.filePath("{guest}.jpg"), 1, "The column \"tetx6\" of the table: it names nothing"},
        {"typo.csv", out.filePath("{tetx6}-{guest}.jpg"), 0, ""},
        // The text store itself: every stored version of the template.
        {"templates/textdata.txt", out.filePath("{section}.jpg"), 0, ""},
        {"twice.csv", out.filePath("{row}.jpg"), 1, "The column \"TXT5\" of the table comes twice (columns 1 and 3)"},
        {"halfway.csv", out.filePath("{row}.jpg"), 3, "row 1 (line 2): version \"1.5\" is no version number"},
        {"folderpic.csv", out.filePath("{row}.jpg"), 3, "row 1 (line 2): the picture \"guests\" is not a file"},
        {"wide.csv", out.filePath("{row}.jpg"), 1, "row 1 (line 2): the picture \"wide.png\" is too large (20001 x 1"},
        {"guests/own.png", m.folder.file("guests/{name}.png"), 3, "row 2 (line 3): its file \""},
        {"guests/own.png", m.folder.file("guests/{name}.jpg"), 3, "row 1 (line 2): its file \""},
        {"good.csv", m.folder.file("blocked/{row}.jpg"), 1, "blocked: a file is in the way on that path"},
        {"fifo.csv", out.filePath("{row}.jpg"), 1, "fifo.csv\" is not a regular file"},
        {"good.csv", m.folder.file("fifo.pdf"), 1, "fifo.pdf is not a regular file"},
        {"table.pdf", m.folder.file("table.pdf"), 1, "table.pdf\" is the table itself"},
        {"cases.csv", out.filePath("{name}.png"), 3, "row 2 (line 3): its file \""},
        {"stock.csv", m.folder.file("temppic/{name}.jpg"), 1, "is a picture of the program folder's temppic/"},
        {"damaged.csv", out.filePath("damaged.pdf"), 3, "row 1 (line 2): the picture \"damaged.jpg\" cannot be shown: it is not a BMP, GIF, JPEG or PNG picture, or it"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.table) + " -> " + c.output.toStdString());
        const test::Run r = test::runRenderer({"--program-dir", m.folder.path(), "--template", "family-times",
                                               "--merge", m.folder.file(c.table), "-o", c.output});
        EXPECT_EQ(r.exitCode, c.status) << r.err.toStdString();
        EXPECT_NE(r.err.section(u'\n', 0, 0).indexOf(QLatin1String(c.says)), -1) << r.err.toStdString();
        EXPECT_EQ(r.err.startsWith(u"Error: "), *c.says != 0) << r.err.toStdString();
    }
    EXPECT_TRUE(QFileInfo::exists(out.filePath("1.jpg")) && QFileInfo::exists(out.filePath("2.jpg")));
    EXPECT_EQ(test::readFile(m.photo), photo);
    EXPECT_EQ(m.folder.read("guests/own.png"), ownTable);
    EXPECT_EQ(m.folder.read("table.pdf"), "txt5\nHello\n");
    EXPECT_EQ(m.folder.read("temppic/sample_beach.jpg"), beach);
    EXPECT_EQ(test::pdfPages(out.filePath("damaged.pdf")).size(), 1);
    // A PDF of its own per card.
    for (const char* card : {"1.pdf", "2.pdf"})
        EXPECT_EQ(test::pdfPages(out.filePath(card)).size(), 1) << card;
    // Characters other systems refuse in file names are replaced.
    EXPECT_TRUE(QFileInfo::exists(m.folder.file("guests/x_y_.jpg")));
}

// --jobs asks for at most that many workers: more than the cores draw no
// faster, and each holds a page of its own.
TEST(Merge, WorkersNoMoreThanTheCores)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's shadow memory needs an unlimited address space";
#endif
    if (QThread::idealThreadCount() > 4)
        GTEST_SKIP() << "the address space below fits up to four workers";
    MergeFolder m;
    QByteArray table = "txt5\n";
    for (int i = 0; i < 40; ++i)
        table += "Card " + QByteArray::number(i) + "\n";
    m.folder.write("many.csv", table);
    QTemporaryDir out;
    const test::Run r = test::runRenderer({"--program-dir", m.folder.path(), "--template", "family-times", "--merge",
                                           m.folder.file("many.csv"), "--jobs", "256", "-o", out.filePath("{row}.jpg")},
                                          900000);
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files).size(), 40);
}

// The progress line is drawn only on a terminal, and not with --quiet.
TEST(Merge, ProgressLineOnlyOnATerminal)
{
    const QString script = QStandardPaths::findExecutable(QStringLiteral("script"));
    if (script.isEmpty())
        GTEST_SKIP() << "script (bsdutils) gives the renderer a terminal";
    MergeFolder m;
    m.folder.write("t.csv", "txt5\nA\nB\n");
    QTemporaryDir out;
    for (const bool quiet : {false, true}) {
        const QString command = QStringLiteral("'%1' --program-dir '%2' --template family-times --merge '%3' -o '%4' %5")
                                    .arg(QStringLiteral(NUVELA_RENDER_EXE), m.folder.path(), m.folder.file("t.csv"),
                                         out.filePath("{row}.png"), quiet ? "--quiet" : "");
        QProcess p;
        p.start(script, {"-qec", command, "/dev/null"});
        ASSERT_TRUE(p.waitForFinished(60000));
        const QString shown = QString::fromUtf8(p.readAllStandardOutput());
        EXPECT_EQ(p.exitCode(), 0) << shown.toStdString();
        EXPECT_EQ(shown.contains(QStringLiteral("\r2/2 cards")), !quiet) << shown.toStdString();
    }
}

// Tables as users' programs write them, read into the same rows.
TEST(Merge, TablesInTheirForms)
{
    struct Case { QByteArray bytes; QStringList columns; QStringList firstRow; int rows; };
    const QByteArray hebrew = QStringEncoder("windows-1255")(QStringLiteral("txt1\r\nשָׁלוֹם\r\n"));
    const auto utf16 = [](QStringEncoder::Encoding e, const char* mark) {
        return QByteArray(mark) + QByteArray(QStringEncoder(e)(QStringLiteral("txt1\tb\r\nשָׁלוֹם\t2\r\n")));
    };
    const Case cases[] = {
        {"a,b\nx,y\n", {"a", "b"}, {"x", "y"}, 1},
        // Rows of empty cells, as spreadsheets save rows once formatted.
        {"a,b\n,\n \t, \n\"\",\nx,y\n,\n", {"a", "b"}, {"x", "y"}, 1},
        {"\xEF\xBB\xBF" "a;b\r\n\"x;1\";\"say \"\"hi\"\"\"\r\n\r\n1;2", {"a", "b"}, {"x;1", "say \"hi\""}, 2},
        {"a\tb\n\"two\nlines\"\tz\n", {"a", "b"}, {"two\nlines", "z"}, 1},
        {hebrew, {"txt1"}, {QStringLiteral("שָׁלוֹם")}, 1},
        {utf16(QStringEncoder::Utf16LE, "\xFF\xFE"), {"txt1", "b"}, {QStringLiteral("שָׁלוֹם"), "2"}, 1},
        {utf16(QStringEncoder::Utf16BE, "\xFE\xFF"), {"txt1", "b"}, {QStringLiteral("שָׁלוֹם"), "2"}, 1},
        {"[guest1]\r\ntxt5=Anna\r\npic7=a.jpg\r\n[guest2]\r\nTXT5=Ben\r\n", {"section", "txt5", "pic7"}, {"guest1", "Anna", "a.jpg"}, 2},
    };
    for (const Case& c : cases) {
        QString error;
        const auto table = nuvela::parseMergeTable(c.bytes, &error);
        ASSERT_TRUE(table) << error.toStdString();
        EXPECT_EQ(table->columns, c.columns);
        ASSERT_EQ(table->rows.size(), c.rows);
        EXPECT_EQ(table->rows[0].cells, c.firstRow);
    }
    const auto sections = nuvela::parseMergeTable("[guest1]\r\ntxt5=Anna\r\n[guest2]\r\nTXT5=Ben\r\n", nullptr);
    EXPECT_EQ(sections->rows[1].cells, (QStringList{"guest2", "Ben"}));
    EXPECT_EQ(sections->rows[1].line, 3);
    // A quote left open would swallow the rows after it into one cell.
    QString error;
    EXPECT_FALSE(nuvela::parseMergeTable("a,b\nx,y\nNoa,\"Noa Is Seven\nTom,Tom\n", &error));
    EXPECT_EQ(error, "the quote opened on line 3 is never closed");
}

} // namespace
