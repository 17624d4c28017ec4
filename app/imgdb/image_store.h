#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace nuvela::imgdb {

/// What an authoring command did, or why it failed.
struct Outcome {
    QString error;   ///< empty on success
    QString message; ///< a line for the author on success
    bool ok() const { return error.isEmpty(); }
};

/// Whether `table` is one of the two tables a template can look pictures up in.
bool isPictureTable(const QString& table);

/// Why `title` can never be found by a template of `table`, or empty.
QString titleProblem(const QString& table, const QString& title);

/// Makes a new, empty image database with both tables. An existing file is
/// never touched; the database appears complete or not at all.
Outcome createDatabase(const QString& path);

/// Stores `picture` (the bytes of a BMP, GIF, JPEG or PNG file) under `title`:
/// replaces the picture of the first record with that title, which is the one
/// a lookup finds, or adds a record. One transaction: all or nothing.
Outcome putPicture(const QString& path, const QString& table, const QString& title,
                   const QByteArray& picture);

} // namespace nuvela::imgdb
