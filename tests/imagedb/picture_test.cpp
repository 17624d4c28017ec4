#include "render/imagedb/picture_bytes.h"
#include "render/imagedb/picture_decode.h"
#include "support/testdirs.h"
#include "test_pictures.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace nuvela;
using Failure = DecodedPicture::Failure;

namespace {

const QByteArray kPng = test::encodedPicture(Qt::red, "PNG");
const QByteArray kBmp = test::encodedPicture(Qt::blue, "BMP");
const QByteArray kJpeg = test::encodedPicture(Qt::gray, "JPEG");
// The smallest GIF: one transparent pixel.
const QByteArray kGif = QByteArray::fromBase64("R0lGODlhAQABAIAAAAAAAP///yH5BAEAAAAALAAAAAABAAEAAAIBRAA7");

TEST(UnwrapPictureBytes, FindsThePictureInsideAnObjectHeader)
{
    const QByteArray header = QByteArray("\x15\x1c/\0\x02\0\0\0Bitmap Image\0Paint.Picture\0", 36).leftJustified(78, '\0');
    const struct { const char* name; QByteArray stored; QByteArray expected; } cases[] = {
        { "BMP after a 78-byte header, trailer cut", header + kBmp + "trailer", kBmp },
        { "PNG after a header", header + kPng, kPng },
        { "JPEG after a header", header + kJpeg, kJpeg },
        { "\"BM\" letters that are no bitmap are skipped", "xxBMxxxxxxxxxxxxxxxxxx" + kPng, kPng },
        { "no signature: unchanged", QByteArray("just some bytes"), QByteArray("just some bytes") },
        { "signature too deep is not searched", QByteArray(5000, 'z') + kPng, QByteArray(5000, 'z') + kPng },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(unwrapPictureBytes(c.stored), c.expected);
    }
}

TEST(DecodePicture, RefusesDamagedAndAbsurdPicturesWithoutDecoding)
{
    QByteArray truncatedPng = kPng.left(kPng.size() - 20);
    QByteArray scrambledPng = kPng;
    for (qsizetype i = 40; i < scrambledPng.size(); ++i)
        scrambledPng[i] = char(i * 37);
    const struct { const char* name; QByteArray bytes; Failure failure; } cases[] = {
        { "empty", QByteArray(), Failure::Invalid },
        { "text", QByteArray("GIF? no, a letter"), Failure::Invalid },
        { "signature only", QByteArray("\x89PNG\r\n\x1A\n"), Failure::Invalid },
        { "truncated PNG", truncatedPng, Failure::Invalid },
        { "scrambled PNG", scrambledPng, Failure::Invalid },
        { "JPEG start and nothing else", QByteArray("\xFF\xD8\xFF\xE0\0\x10JFIF", 10), Failure::Invalid },
        { "100000 x 100000 PNG header", test::pngHeaderOnly(100000, 100000), Failure::TooLarge },
        { "30000 x 10 PNG header", test::pngHeaderOnly(30000, 10), Failure::TooLarge },
        { "9000 x 9000 PNG header", test::pngHeaderOnly(9000, 9000), Failure::TooLarge },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const DecodedPicture picture = decodePicture(c.bytes);
        EXPECT_EQ(picture.failure, c.failure) << picture.error.toStdString();
        EXPECT_TRUE(picture.image.isNull());
        EXPECT_FALSE(picture.error.isEmpty());
    }
}

// An 8000 x 6000 photo is beyond Qt's default allocation limit at full size.
class BigPhoto : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        QImage photo(8000, 6000, QImage::Format_RGB32);
        photo.fill(QColor(30, 140, 90));
        photo.setPixelColor(7999, 5999, Qt::white);
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(photo.save(&buffer, "JPEG", 80));
    }
    static inline QByteArray jpeg;
};

TEST_F(BigPhoto, DecodesAtTheSizeTheFrameNeedsKeepingItsShape)
{
    const struct { QSize needed; QSize decoded; } cases[] = {
        { QSize(800, 600), QSize(800, 600) },
        { QSize(400, 600), QSize(800, 600) }, // covers the taller need
        { QSize(1600, 100), QSize(1600, 1200) },
        { QSize(), QSize(8000, 6000) },       // own size: allowed, not refused
        { QSize(20000, 20000), QSize(8000, 6000) }, // never enlarged
    };
    for (const auto& c : cases) {
        const DecodedPicture picture = decodePicture(jpeg, c.needed);
        ASSERT_TRUE(picture.ok()) << picture.error.toStdString();
        EXPECT_EQ(picture.image.size(), c.decoded);
        EXPECT_NEAR(qGreen(picture.image.pixel(10, 10)), 140, 6);
    }
}

// A JPEG with an EXIF block that says how the camera was held.
QByteArray withOrientation(const QByteArray& jpeg, quint16 orientation, bool littleEndian)
{
    QByteArray tiff(26, '\0');
    auto put16 = [&](int at, quint16 v) { littleEndian ? qToLittleEndian(v, tiff.data() + at) : qToBigEndian(v, tiff.data() + at); };
    auto put32 = [&](int at, quint32 v) { littleEndian ? qToLittleEndian(v, tiff.data() + at) : qToBigEndian(v, tiff.data() + at); };
    tiff[0] = tiff[1] = littleEndian ? 'I' : 'M';
    put16(2, 42);
    put32(4, 8);      // the first IFD
    put16(8, 1);      // one entry:
    put16(10, 0x112); // orientation,
    put16(12, 3);     // a short,
    put32(14, 1);     // one of them
    put16(18, orientation);
    const QByteArray app1 = QByteArray("Exif\0\0", 6) + tiff;
    QByteArray segment("\xFF\xE1\0\0", 4);
    qToBigEndian(quint16(app1.size() + 2), segment.data() + 2);
    return jpeg.left(2) + segment + app1 + jpeg.mid(2);
}

// JPEGs are decoded without Qt's reader; a page must not tell the difference.
TEST(DecodePicture, JpegsLookAsQtsReaderShowsThem)
{
    QImage photo(64, 48, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y)
        for (int x = 0; x < photo.width(); ++x)
            photo.setPixel(x, y, qRgb(x * 4, y * 5, (x * y) % 256));
    const QByteArray colour = test::encodedImage(photo, "JPEG");
    QByteArray progressive;
    QBuffer out(&progressive);
    out.open(QIODevice::WriteOnly);
    QImageWriter writer(&out, "jpeg");
    writer.setProgressiveScanWrite(true);
    ASSERT_TRUE(writer.write(photo));
    struct Case { QString name; QByteArray bytes; };
    std::vector<Case> cases = {
        { "colour", colour },
        { "grey", test::encodedImage(photo.convertToFormat(QImage::Format_Grayscale8), "JPEG") },
        { "progressive", progressive },
        { "cut short", colour.left(colour.size() * 2 / 3) },
    };
    for (quint16 o = 1; o <= 9; ++o)
        cases.push_back({ QStringLiteral("EXIF orientation %1").arg(o), withOrientation(colour, o, o % 2) });
    for (const Case& c : cases) {
        for (const QSize needed : { QSize(), QSize(32, 24), QSize(30, 20), QSize(20, 30), QSize(8, 6) }) {
            SCOPED_TRACE(c.name.toStdString() + " for " + std::to_string(needed.width()) + "x" + std::to_string(needed.height()));
            const DecodedPicture ours = decodePicture(c.bytes, needed);
            ASSERT_TRUE(ours.ok()) << ours.error.toStdString();
            QBuffer in;
            in.setData(c.bytes);
            in.open(QIODevice::ReadOnly);
            QImageReader qt(&in, "jpeg");
            qt.setAutoTransform(true);
            QSize stored = ours.image.size();
            if (qt.transformation() & QImageIOHandler::TransformationRotate90)
                stored.transpose();
            if (stored != qt.size())
                qt.setScaledSize(stored);
            const QImage expected = qt.read();
            EXPECT_EQ(ours.image.format(), expected.format());
            EXPECT_TRUE(ours.image == expected);
        }
    }
    // Where Qt's reader errs: an XMP segment before the EXIF data hides the
    // turn from it, also for a JPEG that is left to it (one cut short).
    const QByteArray xmp("\xFF\xE1\0\x1F" "http://ns.adobe.com/xap/1.0/", 33);
    for (const QByteArray& turned : { withOrientation(colour, 6, true), withOrientation(cases[3].bytes, 6, true) }) {
        const QImage upright = decodePicture(turned).image;
        ASSERT_EQ(upright.size(), QSize(48, 64));
        EXPECT_TRUE(decodePicture(turned.left(2) + xmp + turned.mid(2)).image == upright);
    }
}

/// A BMP with its rows stored from the top, as many programs write them.
QByteArray topDown(const QImage& image)
{
    QByteArray bmp = test::encodedImage(image, "BMP");
    const qint32 offset = qFromLittleEndian<qint32>(bmp.constData() + 10);
    const qint32 height = qFromLittleEndian<qint32>(bmp.constData() + 22);
    const qsizetype row = (bmp.size() - offset) / height;
    QByteArray rows;
    for (qint32 y = height - 1; y >= 0; --y)
        rows += bmp.mid(offset + y * row, row);
    qToLittleEndian<qint32>(-height, bmp.data() + 22);
    return bmp.left(offset) + rows;
}

TEST(DecodePictureFile, TellsAMissingFileFromAnInvalidPicture)
{
    test::ProgramFolder folder(test::ProgramFolder::Start::Empty);
    QImage halves(8, 6, QImage::Format_RGB32);
    halves.fill(Qt::red);
    for (int x = 0; x < 8; ++x)
        halves.setPixel(x, 5, qRgb(0, 0, 255));
    folder.write(QStringLiteral("temppic/topdown.bmp"), topDown(halves));
    folder.write(QStringLiteral("temppic/good.png"), kPng);
    folder.write(QStringLiteral("temppic/good.bmp"), kBmp);
    folder.write(QStringLiteral("temppic/good.gif"), kGif);
    folder.write(QStringLiteral("temppic/bad.jpg"), "not a jpeg");
    folder.write(QStringLiteral("temppic/empty.gif"), {});
    folder.write(QStringLiteral("temppic/big.png"), test::pngHeaderOnly(50000, 50000));
    const struct { const char* file; Failure failure; } cases[] = {
        { "temppic/good.png", Failure::None },     { "temppic/missing.png", Failure::Missing },
        { "temppic/good.bmp", Failure::None },     { "temppic/good.gif", Failure::None },
        { "temppic/bad.jpg", Failure::Invalid },   { "temppic/empty.gif", Failure::Invalid },
        { "temppic/big.png", Failure::TooLarge },  { "temppic", Failure::Unreadable },
        { "temppic/topdown.bmp", Failure::None },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const DecodedPicture picture = decodePictureFile(folder.file(QString::fromLatin1(c.file)), QSize(4, 3));
        EXPECT_EQ(picture.failure, c.failure) << picture.error.toStdString();
        EXPECT_EQ(picture.ok(), !picture.image.isNull());
    }
    EXPECT_EQ(decodePictureFile(folder.file(QStringLiteral("temppic/good.png"))).image.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(decodePictureFile(folder.file(QStringLiteral("temppic/good.bmp"))).image.pixel(0, 0), qRgb(0, 0, 255));
    const QImage upright = decodePictureFile(folder.file(QStringLiteral("temppic/topdown.bmp"))).image;
    EXPECT_TRUE(upright.pixel(0, 0) == qRgb(255, 0, 0) && upright.pixel(0, 5) == qRgb(0, 0, 255));
}

} // namespace
