#include "test_pictures.h"

#include "render/imagedb/sqlite_database.h"

#include <QBuffer>
#include <QDir>
#include <QtEndian>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace test {

namespace {

quint32 crc32Of(const QByteArray& bytes)
{
    quint32 crc = 0xFFFFFFFFu;
    for (char c : bytes) {
        crc ^= quint8(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

} // namespace

QByteArray encodedPicture(const QColor& colour, const char* format, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return encodedImage(image, format);
}

QByteArray encodedImage(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

namespace {

QByteArray pngChunk(const QByteArray& type, const QByteArray& data)
{
    char length[4];
    char crc[4];
    qToBigEndian<quint32>(quint32(data.size()), length);
    qToBigEndian<quint32>(crc32Of(type + data), crc);
    return QByteArray(length, 4) + type + data + QByteArray(crc, 4);
}

} // namespace

QByteArray pngHeaderOnly(quint32 width, quint32 height)
{
    char header[13] = { 0, 0, 0, 0, 0, 0, 0, 0, 8, 2, 0, 0, 0 }; // 8-bit RGB, no interlace
    qToBigEndian(width, header);
    qToBigEndian(height, header + 4);
    return QByteArray("\x89PNG\r\n\x1A\n", 8) + pngChunk("IHDR", QByteArray(header, 13))
        + pngChunk("IDAT", {}) + pngChunk("IEND", {});
}

void writeImageDatabase(const QString& path, const std::vector<Record>& records)
{
    nuvela::SqliteDatabase db(path, nuvela::SqliteDatabase::Mode::Create);
    ASSERT_TRUE(db.exec("CREATE TABLE logobank (Title TEXT, image BLOB);"
                        "CREATE TABLE fixpic (Title TEXT, image BLOB);"))
        << db.error().toStdString();
    for (const Record& r : records) {
        nuvela::SqliteStatement insert(db, "INSERT INTO " + r.table.toUtf8() + " (Title, image) VALUES (?1, ?2)");
        ASSERT_TRUE(insert.isValid());
        insert.bindText(1, r.title);
        insert.bindBlob(2, r.bytes);
        ASSERT_EQ(sqlite3_step(insert.handle()), SQLITE_DONE);
    }
}

int openFileCount()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot).size());
}

} // namespace test
