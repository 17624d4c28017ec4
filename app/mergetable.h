#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace nuvela {

/// One row of a merge table: its number counted from 1 after the header,
/// the line of the file it starts on, and its cells.
struct MergeRow {
    int number = 0;
    int line = 0;
    QStringList cells;
};

/// A table of cards: column names and rows.
struct MergeTable {
    QStringList columns;
    QList<MergeRow> rows;
};

/// Reads a merge table. A file whose first line opens a section ("[name]")
/// is read as store sections, one row per section (the column "section"
/// holds its name, the keys are the other columns); anything else as CSV
/// with a header row, its cells separated by commas, semicolons or tabs
/// (whichever the header uses), quoted cells allowed to span lines. UTF-8
/// (with or without a byte order mark) and Windows-1255 are told apart by
/// whether the bytes are valid UTF-8; UTF-16 is read by its byte order mark. Nothing, and error set, when the file
/// cannot be read or has no header.
std::optional<MergeTable> readMergeTable(const QString& path, QString* error);

/// The same from the bytes of a file.
std::optional<MergeTable> parseMergeTable(const QByteArray& bytes, QString* error);

/// Files bigger than this are not tables of cards.
inline constexpr qint64 kMaxTableBytes = 256 * 1024 * 1024;

} // namespace nuvela
