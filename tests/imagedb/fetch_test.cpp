#include "render/imagedb/imagedb.h"
#include "render/imagedb/legacy_import.h"
#include "render/imagedb/sqlite_database.h"
#include "support/testdirs.h"
#include "test_pictures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace nuvela;

namespace {

const QByteArray kRed = test::encodedPicture(Qt::red, "PNG");
const QByteArray kGreen = test::encodedPicture(Qt::green, "PNG");
const QByteArray kBlue = test::encodedPicture(Qt::blue, "BMP");
const QByteArray kGrey = test::encodedPicture(Qt::gray, "JPEG");

// A program folder whose main-edition database holds a few awkward titles.
class SqliteFetch : public testing::Test {
protected:
    void SetUp() override
    {
        test::writeImageDatabase(folder.file(QStringLiteral("nvdb.db")),
                                 { { "logobank", "Birthday Daily", kRed },
                                   { "logobank", "Birthday Daily", kGreen },
                                   { "fixpic", "Mom's Flowers", kGrey },
                                   { "fixpic", "Birthday Daily", kBlue },
                                   { "fixpic", "été", kGreen } });
    }
    test::ProgramFolder folder { test::ProgramFolder::Start::Empty };
};

// An empty expected: not in the database.
struct LookupCase { const char* name; QStringView table; QString title; QByteArray expected; };

TEST_F(SqliteFetch, LooksTitlesUpRegardlessOfCaseWithTheFirstRecordWinning)
{
    const LookupCase cases[] = {
        { "first of two records", kLogoTable, "Birthday Daily", kRed },
        { "same title, other table", kStockPictureTable, "Birthday Daily", kBlue },
        { "missing title", kLogoTable, "Evening Post", {} },
        { "other letter case", kLogoTable, "birthday DAILY", kRed },
        { "other letter case beyond ASCII", kStockPictureTable, "ÉTÉ", kGreen },
        { "trailing space", kLogoTable, "Birthday Daily ", {} },
        { "quote that would change a spliced query", kLogoTable, "x' OR '1'='1", {} },
        { "title of the other table", kLogoTable, "Mom's Flowers", {} },
        { "empty title", kLogoTable, "", {} },
    };
    for (const LookupCase& c : cases) {
        SCOPED_TRACE(c.name);
        const ImageFetch fetch = fetchImageBytes(folder.path(), Edition::Main, c.table, c.title);
        if (c.expected.isEmpty()) {
            EXPECT_EQ(fetch.error, QStringLiteral("The picture titled \"%1\" is not in the image database "
                                                  "nvdb.db (table %2)").arg(c.title, c.table));
            EXPECT_TRUE(fetch.bytes.isEmpty());
        } else {
            EXPECT_TRUE(fetch.ok()) << fetch.error.toStdString();
            EXPECT_EQ(fetch.bytes, c.expected);
        }
    }
}

TEST_F(SqliteFetch, LeavesTheDatabaseUntouchedAndNothingOpen)
{
    const QString db = folder.file(QStringLiteral("nvdb.db"));
    const QByteArray before = folder.read(QStringLiteral("nvdb.db"));
    const int filesBefore = test::openFileCount();
    for (const QString& title : { QStringLiteral("Birthday Daily"), QStringLiteral("Evening Post") })
        fetchImageBytes(folder.path(), Edition::Main, kLogoTable, title);
    fetchImageBytes(folder.path(), Edition::Main, u"no_such_table", QStringLiteral("x"));
    EXPECT_EQ(test::openFileCount(), filesBefore);
    EXPECT_EQ(folder.read(QStringLiteral("nvdb.db")), before);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList { QStringLiteral("nvdb.db") });
}

// file: written into the program folder, or nullptr; contents "sqlite:..." make a database of that kind.
struct FaultCase { const char* name; const char* file; QByteArray contents; QStringView table; const char* expectedInError; };

TEST(ImageDatabaseFaults, EveryFaultIsAClearErrorNamingTheCause)
{
    const FaultCase cases[] = {
        { "no database file", nullptr, {}, kLogoTable, "does not exist" },
        { "file that is no database", "nvdb.db", QByteArray(4096, 'x'), kLogoTable, "not a database" },
        { "empty file", "nvdb.db", QByteArray(), kLogoTable, "no such table" },
        { "truncated database", "nvdb.db", "sqlite:truncate", kLogoTable, "malformed" },
        { "table missing", "nvdb.db", "sqlite:", kLogoTable, "no such table: logobank" },
        { "column missing", "nvdb.db", "sqlite:nocolumn", kLogoTable, "no such column: image" },
        { "table name that is no name", "nvdb.db", "sqlite:", u"logobank; DROP TABLE x", "Not a table name" },
        { "empty picture", "nvdb.db", "sqlite:empty", kLogoTable, "is empty" },
        { "legacy file that is no Access file", "nvdb.mdb", QByteArray(8192, '\0'), kLogoTable,
          "not an Access database" },
    };
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.name);
        test::ProgramFolder folder(test::ProgramFolder::Start::Empty);
        const QByteArray contents = c.contents;
        if (c.file && contents.startsWith("sqlite:")) {
            const QString path = folder.file(QString::fromLatin1(c.file));
            nuvela::SqliteDatabase db(path, nuvela::SqliteDatabase::Mode::Create);
            const QByteArray kind = contents.mid(7);
            if (kind == "nocolumn")
                db.exec("CREATE TABLE logobank (Title TEXT, picture BLOB); INSERT INTO logobank VALUES ('Logo', x'00')");
            else if (kind == "empty")
                db.exec("CREATE TABLE logobank (Title TEXT, image BLOB); INSERT INTO logobank VALUES ('Logo', NULL)");
            else if (kind == "truncate")
                db.exec("CREATE TABLE logobank (Title TEXT, image BLOB); INSERT INTO logobank VALUES ('Logo', zeroblob(200000))");
            else
                db.exec("CREATE TABLE other (x)");
        } else if (c.file) {
            folder.write(QString::fromLatin1(c.file), contents);
        }
        if (contents == "sqlite:truncate") {
            QFile file(folder.file(QStringLiteral("nvdb.db")));
            ASSERT_TRUE(file.resize(file.size() / 2));
        }
        const ImageFetch fetch = fetchImageBytes(folder.path(), Edition::Main, c.table, QStringLiteral("Logo"));
        EXPECT_FALSE(fetch.ok());
        EXPECT_TRUE(fetch.bytes.isEmpty());
        EXPECT_TRUE(fetch.error.contains(QLatin1StringView(c.expectedInError))) << fetch.error.toStdString();
    }
}

// Legacy files are converted once per version of the file, out of process,
// and what fails is said with the legacy file's own name.
TEST(LegacyImport, ConvertsOncePerVersionAndNamesTheLegacyFile)
{
    const QString nwind = test::sharedTestData(QStringLiteral("nwind.mdb"));
    if (!QFile::exists(nwind))
        GTEST_SKIP() << "no sample Access file";
    test::ProgramFolder folder(test::ProgramFolder::Start::Empty);
    qputenv("XDG_CACHE_HOME", folder.file(QStringLiteral("cache")).toUtf8());
    const QString mdb = folder.file(QStringLiteral("nvdb.mdb"));
    ASSERT_TRUE(QFile::copy(nwind, mdb));

    const LegacyImport first = importLegacyDatabase(mdb);
    ASSERT_TRUE(first.error.isEmpty()) << first.error.toStdString();
    EXPECT_TRUE(first.database.startsWith(legacyCacheFolder()));
    EXPECT_EQ(importLegacyDatabase(mdb).database, first.database);
    // An Access file wins over the database beside it; the reader's own code
    // page is set for the open only, and nothing stays open.
    test::writeImageDatabase(folder.file(QStringLiteral("nvdb.db")), {{"logobank", "Logo", test::encodedPicture(Qt::red, "PNG")}});
    qputenv("MDB_JET3_CHARSET", "CP1252");
    const int filesBefore = test::openFileCount();
    const ImageFetch fetch = fetchImageBytes(folder.path(), Edition::Main, kLogoTable, QStringLiteral("Logo"));
    EXPECT_TRUE(fetch.error.contains(mdb) && fetch.error.contains(u"no such table: logobank")) << fetch.error.toStdString();
    EXPECT_EQ(test::openFileCount(), filesBefore);
    EXPECT_EQ(qgetenv("MDB_JET3_CHARSET"), QByteArray("CP1252"));
    qunsetenv("MDB_JET3_CHARSET");

    // A new version of the file replaces the copy; a damaged one says so and
    // is not read again in this run.
    QFile file(mdb);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.seek(0);
    file.write("damaged!");
    file.close();
    const LegacyImport damaged = importLegacyDatabase(mdb);
    EXPECT_TRUE(damaged.database.isEmpty());
    EXPECT_TRUE(damaged.error.startsWith(u"The image database nvdb.mdb is damaged")) << damaged.error.toStdString();
    EXPECT_TRUE(damaged.error.contains(u"not an Access database")) << damaged.error.toStdString();
    EXPECT_EQ(importLegacyDatabase(mdb).error, damaged.error);
    QFile::remove(mdb);
    ASSERT_TRUE(QFile::copy(nwind, mdb));
    const LegacyImport again = importLegacyDatabase(mdb);
    EXPECT_TRUE(again.error.isEmpty());
    EXPECT_EQ(QDir(legacyCacheFolder()).entryList(QDir::Files), QStringList{QFileInfo(again.database).fileName()});
    qunsetenv("XDG_CACHE_HOME");
}

} // namespace
