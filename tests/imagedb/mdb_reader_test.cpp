#include "render/imagedb/imagedb.h"
#include "render/imagedb/mdb_reader.h"
#include "render/imagedb/picture_bytes.h"
#include "render/imagedb/picture_decode.h"
#include "support/testdirs.h"
#include "test_pictures.h"

#include <QFile>
#include <QMap>
#include <gtest/gtest.h>

using namespace nuvela;

namespace {

const MdbPictureColumns kCategories { QStringLiteral("Categories"), QStringLiteral("CategoryName"),
                                      QStringLiteral("Picture") };

// The public sample Access file, compared against what mdb-export reads from it.
class LegacyReader : public testing::Test {
protected:
    void SetUp() override
    {
        path = test::sharedTestData(QStringLiteral("nwind.mdb"));
        if (!QFile::exists(path))
            GTEST_SKIP() << "nwind.mdb is not here";
    }

    // Category name -> picture bytes, one record a line of "id,"name",...,HEX".
    QMap<QString, QByteArray> exported() const
    {
        QMap<QString, QByteArray> pictures;
        const QList<QByteArray> lines
            = test::runTool(QStringLiteral("mdb-export"), { QStringLiteral("-b"), QStringLiteral("hex"), path, QStringLiteral("Categories") })
                  .toUtf8()
                  .split('\n');
        for (const QByteArray& line : lines.mid(1)) {
            const qsizetype nameStart = line.indexOf('"');
            const qsizetype nameEnd = line.indexOf('"', nameStart + 1);
            if (nameStart < 0 || nameEnd < 0)
                continue;
            const QString name = QString::fromUtf8(line.mid(nameStart + 1, nameEnd - nameStart - 1));
            pictures.insert(name, QByteArray::fromHex(line.mid(line.lastIndexOf(',') + 1)));
        }
        return pictures;
    }

    QString path;
};

TEST_F(LegacyReader, ReadsEveryBlobByteForByteAsMdbExportDoes)
{
    const QMap<QString, QByteArray> expected = exported();
    ASSERT_EQ(expected.size(), 8);
    for (auto it = expected.begin(); it != expected.end(); ++it) {
        SCOPED_TRACE(it.key().toStdString());
        QString error;
        const QByteArray blob = readMdbBlob(path, kCategories, it.key(), error);
        ASSERT_TRUE(error.isEmpty()) << error.toStdString();
        EXPECT_EQ(blob, it.value());
        // Access finds a title in any letter case.
        EXPECT_EQ(readMdbBlob(path, kCategories, it.key().toUpper(), error), blob);
        // The bitmap sits behind a 78-byte object header and decodes.
        const QByteArray picture = unwrapPictureBytes(blob);
        EXPECT_EQ(picture, blob.mid(78, picture.size()));
        EXPECT_EQ(pictureFormatAt(picture), PictureFormat::Bmp);
        const DecodedPicture decoded = decodePicture(picture);
        EXPECT_TRUE(decoded.ok()) << decoded.error.toStdString();
        EXPECT_FALSE(decoded.image.isNull());
    }
}

TEST_F(LegacyReader, ReportsWhatIsMissing)
{
    const struct { const char* name; MdbPictureColumns columns; QString title; const char* expectedInError; } cases[] = {
        { "missing title", kCategories, "Not a category", "No record data" },
        { "title with apostrophe", kCategories, "Beverages' OR 'a'='a", "No record data" },
        { "missing table", { "logobank", "Title", "image" }, "Beverages", "no table logobank" },
        { "missing title column", { "Categories", "Title", "Picture" }, "Beverages", "no column Title" },
        { "missing blob column", { "Categories", "CategoryName", "image" }, "Beverages", "no column image" },
        { "blob column that is text", { "Categories", "CategoryName", "Description" }, "Beverages", "holds no pictures" },
        { "missing file", kCategories, "Beverages", "does not exist" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QString error;
        const QString file = QLatin1StringView(c.name) == u"missing file" ? path + QStringLiteral(".gone") : path;
        EXPECT_TRUE(readMdbBlob(file, c.columns, c.title, error).isEmpty());
        EXPECT_TRUE(error.contains(QLatin1StringView(c.expectedInError))) << error.toStdString();
    }
}

} // namespace
