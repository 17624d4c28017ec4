#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QString>
#include <vector>

namespace test {

/// An image encoded as `format` ("PNG", "BMP", "JPEG"); a small one of one colour.
QByteArray encodedImage(const QImage& image, const char* format);
QByteArray encodedPicture(const QColor& colour, const char* format, QSize size = { 8, 6 });

/// A PNG whose header claims `width` x `height` pixels, with no pixel data.
QByteArray pngHeaderOnly(quint32 width, quint32 height);

/// An image database with tables logobank and fixpic holding the given
/// (table, title, bytes) records in that order; duplicates allowed.
struct Record { QString table; QString title; QByteArray bytes; };
void writeImageDatabase(const QString& path, const std::vector<Record>& records);

/// Open file descriptors of this process, to prove nothing stays open.
int openFileCount();

} // namespace test
