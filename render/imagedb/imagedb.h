#pragma once

#include "store/edition.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace nuvela {

/// Table of headline logos, looked up by a headline's `type`.
inline constexpr QStringView kLogoTable = u"logobank";
/// Table of stock pictures, looked up by a fixed picture's `picname`.
inline constexpr QStringView kStockPictureTable = u"fixpic";

/// The outcome of one image-database lookup: the picture bytes, or the text
/// of the first failure.
struct ImageFetch {
    QByteArray bytes;
    QString error;
    bool noRecord = false; ///< the database was read and has no such title
    bool busy = false;     ///< another program holds the database while changing it

    bool ok() const { return error.isEmpty(); }
};

/// The image database file of an edition in a program folder.
struct ImageDatabaseFile {
    enum class Kind { Sqlite, Legacy };
    QString path;
    Kind kind = Kind::Sqlite;
};

/// A legacy Access file ("nvdb.mdb", "lmndb.mdb") is used whenever it is
/// present, even beside an SQLite file of the same edition: a program folder
/// that still ships its old database keeps the pictures its templates were
/// made with. Otherwise the SQLite file ("nvdb.db", "lmndb.db"), whether it
/// exists or not (the lookup then reports it missing).
ImageDatabaseFile locateImageDatabase(const QString& programDir, Edition edition);

/// The failure text for a title that no record of table has.
QString missingPictureMessage(const ImageDatabaseFile& database, QStringView table, const QString& title);

/// The picture bytes of the first record of `table` ("logobank" or "fixpic")
/// whose `Title` is exactly `title`, with any object header removed. The
/// database is opened read-only for this one lookup and closed before the
/// call returns, on every path. Failures: missingPictureMessage() when no
/// record matches; a text naming the file for a missing or damaged database, a
/// missing table or column, an empty value.
ImageFetch fetchImageBytes(const QString& programDir, Edition edition, QStringView table,
                           const QString& title);

/// The same lookup in a given database file.
ImageFetch fetchImageBytes(const ImageDatabaseFile& database, QStringView table, const QString& title);

} // namespace nuvela
