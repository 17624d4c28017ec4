#include "app/imgdb/image_store.h"

#include "render/imagedb/imagedb.h"
#include "render/imagedb/picture_decode.h"
#include "render/imagedb/sqlite_database.h"
#include "store/filestamp.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryFile>
#include <sqlite3.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace nuvela::imgdb {

namespace {

// The index keeps lookups by title fast however many pictures a table holds;
// equal titles stay in record order inside it, so the first record still wins.
constexpr const char* kSchema = R"(
CREATE TABLE logobank (Title TEXT NOT NULL, image BLOB NOT NULL);
CREATE INDEX logobank_title ON logobank (Title);
CREATE TABLE fixpic (Title TEXT NOT NULL, image BLOB NOT NULL);
CREATE INDEX fixpic_title ON fixpic (Title);
)";

Outcome failed(QString error) { return Outcome { std::move(error), QString() }; }

// Runs one statement to its end; on failure the text names what was tried.
bool stepToEnd(SqliteDatabase& db, SqliteStatement& stmt, const QString& what, QString& error)
{
    if (stmt.isValid() && sqlite3_step(stmt.handle()) == SQLITE_DONE)
        return true;
    error = db.failure(what);
    return false;
}

} // namespace

bool isPictureTable(const QString& table)
{
    return table == kLogoTable || table == kStockPictureTable;
}

QString titleProblem(const QString& table, const QString& title)
{
    if (title.isEmpty())
        return QStringLiteral("the title is empty");
    if (title != title.trimmed())
        return QStringLiteral("the title begins or ends with a space");
    // Templates are Windows-1255 files: a title they cannot spell is unreachable.
    QStringEncoder encoder("windows-1255");
    QStringDecoder decoder("windows-1255");
    const QByteArray encoded = encoder.encode(title);
    if (encoder.hasError() || QString(decoder.decode(encoded)) != title)
        return QStringLiteral("the title has letters that Windows-1255 template files cannot hold");
    // A fixed picture whose name has a dot after its first letter is read from
    // a file, so such a stock picture could never be shown.
    if (table == kStockPictureTable && title.indexOf(u'.', 1) > 0)
        return QStringLiteral("a stock picture title must not contain a dot after its first letter");
    return {};
}

Outcome createDatabase(const QString& path)
{
    if (QFileInfo::exists(path))
        return failed(QStringLiteral("%1 already exists").arg(path));
    QTemporaryFile scratch(path + QStringLiteral(".XXXXXX"));
    if (!scratch.open())
        return failed(QStringLiteral("Cannot create %1: %2").arg(path, scratch.errorString()));
    scratch.close();
    {
        SqliteDatabase db(scratch.fileName(), SqliteDatabase::Mode::Create);
        if (!db.isOpen())
            return failed(db.error());
        if (!db.exec(kSchema))
            return failed(db.error());
    }
    // A temporary file is private to its owner; a database is read by everyone.
    scratch.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    if (!scratch.rename(path))
        return failed(QStringLiteral("Cannot create %1: %2").arg(path, scratch.errorString()));
    scratch.setAutoRemove(false); // it is the database now
    return Outcome { QString(), QStringLiteral("Created %1").arg(path) };
}

namespace {

/// Stores the picture in db, which is a private copy: the first record of the
/// title gets it, or a new record.
bool storeInCopy(SqliteDatabase& db, const QString& table, const QString& title, const QByteArray& picture,
                 const QString& path, qint64& rowid, QString& error)
{
    const QByteArray quoted = '"' + table.toUtf8() + '"';
    {
        SqliteStatement find(db, "SELECT rowid FROM " + quoted + " WHERE Title = ?1 COLLATE TITLE ORDER BY rowid LIMIT 1");
        if (!find.isValid()) {
            error = db.failure(QStringLiteral("Cannot read table %1 of %2").arg(table, path));
            return false;
        }
        find.bindText(1, title);
        if (sqlite3_step(find.handle()) == SQLITE_ROW)
            rowid = sqlite3_column_int64(find.handle(), 0);
    }
    if (rowid) {
        // Lookups ignore letter case, so "mom's flowers" replaces the
        // picture of "Mom's Flowers" (and takes its spelling) rather than
        // adding a record no lookup would ever reach.
        SqliteStatement update(db, "UPDATE " + quoted + " SET Title = ?1, image = ?2 WHERE rowid = ?3");
        update.bindText(1, title);
        update.bindBlob(2, picture);
        sqlite3_bind_int64(update.handle(), 3, rowid);
        return stepToEnd(db, update, QStringLiteral("Cannot write to %1").arg(path), error);
    }
    SqliteStatement insert(db, "INSERT INTO " + quoted + " (Title, image) VALUES (?1, ?2)");
    insert.bindText(1, title);
    insert.bindBlob(2, picture);
    return stepToEnd(db, insert, QStringLiteral("Cannot write to %1").arg(path), error);
}

} // namespace

Outcome putPicture(const QString& path, const QString& table, const QString& title,
                   const QByteArray& picture)
{
    if (!isPictureTable(table))
        return failed(QStringLiteral("unknown table %1 (use logobank or fixpic)").arg(table));
    if (const QString problem = titleProblem(table, title); !problem.isEmpty())
        return failed(QStringLiteral("\"%1\": %2").arg(title, problem));
    if (const DecodedPicture decoded = decodePicture(picture); !decoded.ok())
        return failed(decoded.error);

    // The database itself is never written: a killed writer would leave a
    // hot journal that every reader without write access then trips over.
    // The change is made in a copy, which replaces the file by a rename once
    // complete. The reserved lock held meanwhile keeps writers in turn; one
    // that waited for a file since replaced starts again on the new one.
    for (int attempt = 0;; ++attempt) {
        const auto before = fileStamp(path);
        SqliteDatabase db(path, SqliteDatabase::Mode::ReadWrite);
        if (!db.isOpen())
            return failed(db.error());
        if (!db.exec("BEGIN IMMEDIATE"))
            return failed(db.error());
        const auto locked = fileStamp(path);
        if (!before || !locked || before->inode != locked->inode) {
            if (attempt < 3)
                continue;
            return failed(QStringLiteral("Cannot write to %1: another writer keeps replacing it").arg(path));
        }
        // Copies are only made under the lock: any copy there now was left
        // by a writer that was killed.
        const QFileInfo info(path);
        const QStringList stale = info.dir().entryList(
            {info.fileName() + QStringLiteral(".??????"), info.fileName() + QStringLiteral(".??????") + QStringLiteral("-journal")},
            QDir::Files | QDir::Hidden);
        for (const QString& name : stale)
            QFile::remove(info.dir().filePath(name));
        QTemporaryFile scratch(path + QStringLiteral(".XXXXXX"));
        if (!scratch.open())
            return failed(QStringLiteral("Cannot write to %1: %2").arg(path, scratch.errorString()));
        scratch.close();
        QFile::remove(scratch.fileName()); // VACUUM INTO makes the file itself
        // The copy is read through a second connection: a VACUUM cannot run
        // inside the transaction that holds the lock.
        SqliteDatabase source(path, SqliteDatabase::Mode::ReadOnly);
        if (!source.isOpen())
            return failed(source.error());
        SqliteStatement copy(source, "VACUUM INTO ?1");
        copy.bindText(1, scratch.fileName());
        QString error;
        if (!stepToEnd(source, copy, QStringLiteral("Cannot copy %1").arg(path), error))
            return failed(error);

        qint64 rowid = 0;
        {
            SqliteDatabase changed(scratch.fileName(), SqliteDatabase::Mode::ReadWrite);
            // A private copy needs no journal; a killed writer only leaves it behind.
            if (!changed.isOpen() || !changed.exec("PRAGMA journal_mode=OFF; PRAGMA synchronous=FULL; BEGIN"))
                return failed(changed.error());
            if (!storeInCopy(changed, table, title, picture, path, rowid, error))
                return failed(error);
            if (!changed.exec("COMMIT"))
                return failed(changed.error());
        }
        QFile::setPermissions(scratch.fileName(), QFileInfo(path).permissions());
        if (std::rename(QFile::encodeName(scratch.fileName()).constData(), QFile::encodeName(path).constData()) != 0)
            return failed(QStringLiteral("Cannot write to %1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno))));
        scratch.setAutoRemove(false); // it is the database now
        return Outcome { QString(), QStringLiteral("%1 \"%2\" in %3").arg(rowid ? u"Replaced" : u"Added", title, table) };
    }
}

} // namespace nuvela::imgdb
