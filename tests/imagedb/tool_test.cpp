#include "render/imagedb/imagedb.h"
#include "render/imagedb/picture_decode.h"
#include "render/imagedb/sqlite_database.h"
#include "support/testdirs.h"
#include "test_pictures.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace nuvela;

namespace {

test::Run imgdb(const QStringList& args) { return test::runProgram(QStringLiteral(NUVELA_IMGDB_TOOL), args); }

class ImgdbTool : public testing::Test {
protected:
    QString file(const char* name) const { return folder.file(QString::fromUtf8(name)); }
    QString db() const { return file("nvdb.db"); }
    test::ProgramFolder folder { test::ProgramFolder::Start::Empty };
};

TEST_F(ImgdbTool, CreatesAddsReplacesListsAndExtracts)
{
    const QByteArray first = test::encodedPicture(Qt::red, "PNG");
    const QByteArray second = test::encodedPicture(Qt::white, "BMP");
    const QByteArray photo = test::encodedPicture(Qt::gray, "JPEG", { 64, 48 });
    folder.write("first.png", first);
    folder.write("second.bmp", second);
    folder.write("photo.jpg", photo);

    EXPECT_EQ(imgdb({ "create", db() }).exitCode, 0);
    const struct { QStringList args; const char* said; } steps[] = {
        { { "add", db(), "logobank", "עיתון החתונה", file("first.png") }, "Added" },
        { { "add", db(), "logobank", "Family Times", file("first.png") }, "Added" },
        { { "add", db(), "fixpic", "Mom's Flowers", file("photo.jpg") }, "Added" },
        { { "add", db(), "logobank", "עיתון החתונה", file("second.bmp") }, "Replaced" },
        { { "add", db(), "logobank", "family TIMES", file("second.bmp") }, "Replaced" },
    };
    for (const auto& step : steps) {
        const test::Run run = imgdb(step.args);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_TRUE(run.out.startsWith(QLatin1StringView(step.said))) << run.out.toStdString();
    }
    EXPECT_EQ(imgdb({ "list", db(), "logobank" }).out, QStringLiteral("עיתון החתונה\nfamily TIMES\n"));
    EXPECT_EQ(imgdb({ "list", db(), "fixpic" }).out, QStringLiteral("Mom's Flowers\n"));

    EXPECT_EQ(imgdb({ "extract", db(), "logobank", "עיתון החתונה", file("out.bmp") }).exitCode, 0);
    EXPECT_EQ(folder.read("out.bmp"), second);
    // What the tool stores is what the program reads.
    EXPECT_EQ(fetchImageBytes(folder.path(), Edition::Main, kStockPictureTable, QStringLiteral("Mom's Flowers")).bytes, photo);
}

TEST_F(ImgdbTool, RefusesBadInputAndLeavesTheDatabaseAsItWas)
{
    ASSERT_EQ(imgdb({ "create", db() }).exitCode, 0);
    folder.write("logo.png", test::encodedPicture(Qt::blue, "PNG"));
    folder.write("note.txt", "not a picture");
    folder.write("huge.png", test::pngHeaderOnly(60000, 60000));
    QByteArray damaged = test::encodedPicture(Qt::blue, "PNG");
    damaged.replace(damaged.indexOf("IDAT") + 4, 8, "xxxxxxxx");
    folder.write("damaged.png", damaged);
    ASSERT_EQ(::mkfifo(QFile::encodeName(file("fifo.png")).constData(), 0600), 0);
    QFile::link(QStringLiteral("/dev/null"), file("null.png"));
    ASSERT_EQ(imgdb({ "add", db(), "logobank", "Logo", file("logo.png") }).exitCode, 0);
    const QByteArray before = folder.read("nvdb.db");

    const struct { const char* name; QStringList args; int exitCode; const char* error; } cases[] = {
        { "no command", {}, 2, "Usage:" },
        { "unknown command", { "drop", db() }, 2, "unknown command drop" },
        { "wrong arguments", { "add", db(), "logobank" }, 2, "wrong number of arguments" },
        { "create over a file", { "create", db() }, 1, "already exists" },
        { "unknown table", { "add", db(), "pictures", "X", file("logo.png") }, 1, "unknown table" },
        { "not a picture", { "add", db(), "logobank", "Logo", file("note.txt") }, 1, "Not a BMP, GIF, JPEG or PNG" },
        { "too large", { "add", db(), "logobank", "Logo", file("huge.png") }, 1, "too large" },
        { "missing picture file", { "add", db(), "logobank", "Logo", file("gone.png") }, 1, "Cannot read" },
        { "empty title", { "add", db(), "logobank", "", file("logo.png") }, 1, "title is empty" },
        { "title Windows-1255 cannot hold", { "add", db(), "logobank", "Логотип", file("logo.png") }, 1, "Windows-1255" },
        { "stock title read as a file name", { "add", db(), "fixpic", "cake.jpg", file("logo.png") }, 1, "dot" },
        { "missing database", { "add", file("none.db"), "logobank", "X", file("logo.png") }, 1, "does not exist" },
        { "extract missing title", { "extract", db(), "logobank", "Nope", file("x.png") }, 1, "no picture \"Nope\"" },
        { "damaged picture, the decoder muted", { "add", db(), "logobank", "Logo", file("damaged.png") }, 1, "damaged" },
        { "a FIFO is no picture", { "add", db(), "logobank", "Logo", file("fifo.png") }, 1, "not a regular file" },
        { "extract onto a device", { "extract", db(), "logobank", "Logo", file("null.png") }, 1, "not a regular file" },
        { "extract into a missing folder", { "extract", db(), "logobank", "Logo", file("no/dir/x.png") }, 1, "Cannot write" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const test::Run run = imgdb(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_TRUE(run.err.contains(QLatin1StringView(c.error))) << run.err.toStdString();
#if !defined(__SANITIZE_ADDRESS__) // sanitizer builds keep the error stream for their reports
        if (c.exitCode == 1) {
            EXPECT_TRUE(run.err.startsWith(u"Error: ") && run.err.count(u'\n') == 1) << run.err.toStdString();
        }
#endif
    }
    EXPECT_EQ(folder.read("nvdb.db"), before);
    EXPECT_FALSE(QFile::exists(file("none.db")));
    EXPECT_FALSE(QFile::exists(file("x.png")));
}

// The databases the build makes from the pictures in the repository.
TEST(SampleDatabases, HoldEveryListedPictureAndCleanLogos)
{
    const QStringList logos { "Birthday Daily", "Wedding Gazette", "Bar Mitzvah Herald", "Family Times",
                              "חדשות יום ההולדת", "עיתון החתונה", "בשורת בר המצווה", "זמני המשפחה" };
    const QStringList stock { "Balloons", "Confetti", "עוגת יום הולדת", "Mom's Flowers", "Sunrise", "Starry Night" };
    for (const Edition edition : { Edition::Main, Edition::Sibling }) {
        SCOPED_TRACE(edition == Edition::Main ? "main" : "sibling");
        const QString path = locateImageDatabase(test::stagedDataDir(), edition).path;
        QString error;
        QStringList expectedLogos = logos;
        if (edition == Edition::Sibling)
            expectedLogos.insert(4, QStringLiteral("Lumen Post"));
        EXPECT_EQ(readSqliteTitles(path, kLogoTable, error), expectedLogos) << error.toStdString();
        EXPECT_EQ(readSqliteTitles(path, kStockPictureTable, error), stock) << error.toStdString();
        for (const QString& title : expectedLogos) {
            const ImageFetch fetch = fetchImageBytes(test::stagedDataDir(), edition, kLogoTable, title);
            const DecodedPicture logo = decodePicture(fetch.bytes);
            ASSERT_TRUE(logo.ok()) << title.toStdString() << ": " << logo.error.toStdString();
            // Only the key colour, white and black: anything else would show a fringe once tinted.
            const QImage pixels = logo.image.convertToFormat(QImage::Format_RGB32);
            int stray = 0;
            for (int y = 0; y < pixels.height(); ++y) {
                for (int x = 0; x < pixels.width(); ++x) {
                    const QRgb p = pixels.pixel(x, y) & 0xFFFFFF;
                    stray += p != 0x0000FF && p != 0xFFFFFF && p != 0;
                }
            }
            EXPECT_EQ(stray, 0) << title.toStdString();
            EXPECT_EQ(pixels.pixel(0, 0) & 0xFFFFFF, 0x0000FFu) << title.toStdString();
        }
        for (const QString& title : stock)
            EXPECT_TRUE(decodePicture(fetchImageBytes(test::stagedDataDir(), edition, kStockPictureTable, title).bytes).ok());
    }
}

// A writer killed at any moment leaves the old or the new database, never a
// journal that read-only openers trip over; a journal left by some other
// writer is rolled back by the first reader that may write.
TEST_F(ImgdbTool, AKilledWriterNeverBlocksReaders)
{
    ASSERT_EQ(imgdb({ "create", db() }).exitCode, 0);
    folder.write("big.bmp", test::encodedPicture(Qt::red, "BMP", { 900, 900 }));
    for (int round = 0; round < 12; ++round) {
        QProcess writer;
        writer.start(QStringLiteral(NUVELA_IMGDB_TOOL), { "add", db(), "fixpic", QStringLiteral("P%1").arg(round), file("big.bmp") });
        writer.waitForStarted();
        QThread::msleep(5 * round);
        writer.kill();
        writer.waitForFinished();
        QString error;
        readSqliteTitles(db(), kStockPictureTable, error);
        EXPECT_TRUE(error.isEmpty()) << round << ": " << error.toStdString();
        EXPECT_FALSE(QFile::exists(db() + "-journal")) << round;
    }

    // The next writer clears the copies killed writers left.
    ASSERT_EQ(imgdb({ "add", db(), "fixpic", "Last", file("big.bmp") }).exitCode, 0);
    EXPECT_EQ(QDir(folder.path()).entryList({ "nvdb.db.*" }, QDir::Files), QStringList());

    // A hot journal: the database and its journal as they stood in the middle
    // of another program's change.
    SqliteDatabase other(db(), SqliteDatabase::Mode::ReadWrite);
    ASSERT_TRUE(other.exec("PRAGMA journal_mode=DELETE; PRAGMA synchronous=OFF; BEGIN; DELETE FROM fixpic; CREATE TABLE x (y)"));
    test::ProgramFolder copy { test::ProgramFolder::Start::Empty };
    ASSERT_TRUE(QFile::copy(db(), copy.file("nvdb.db")) && QFile::copy(db() + "-journal", copy.file("nvdb.db-journal")));
    other.exec("ROLLBACK");
    QString error;
    const QStringList titles = readSqliteTitles(copy.file("nvdb.db"), kStockPictureTable, error);
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    EXPECT_EQ(titles, readSqliteTitles(db(), kStockPictureTable, error));
    EXPECT_FALSE(QFile::exists(copy.file("nvdb.db-journal")));
}

} // namespace
