#include "app/imgdb/image_store.h"

#include "render/imagedb/imagedb.h"
#include "render/imagedb/picture_decode.h"
#include "render/imagedb/sqlite_database.h"

#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryFile>
#include <sqlite3.h>

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

Outcome putPicture(const QString& path, const QString& table, const QString& title,
                   const QByteArray& picture)
{
    if (!isPictureTable(table))
        return failed(QStringLiteral("unknown table %1 (use logobank or fixpic)").arg(table));
    if (const QString problem = titleProblem(table, title); !problem.isEmpty())
        return failed(QStringLiteral("\"%1\": %2").arg(title, problem));
    if (const DecodedPicture decoded = decodePicture(picture); !decoded.ok())
        return failed(decoded.error);

    SqliteDatabase db(path, SqliteDatabase::Mode::ReadWrite);
    if (!db.isOpen())
        return failed(db.error());
    if (!db.exec("BEGIN IMMEDIATE"))
        return failed(db.error());

    QString error;
    const QByteArray quoted = '"' + table.toUtf8() + '"';
    qint64 rowid = 0;
    {
        SqliteStatement find(db, "SELECT rowid FROM " + quoted + " WHERE Title = ?1 COLLATE TITLE ORDER BY rowid LIMIT 1");
        if (!find.isValid()) {
            error = db.failure(QStringLiteral("Cannot read table %1 of %2").arg(table, path));
        } else {
            find.bindText(1, title);
            if (sqlite3_step(find.handle()) == SQLITE_ROW)
                rowid = sqlite3_column_int64(find.handle(), 0);
        }
    }
    if (error.isEmpty() && rowid) {
        // Lookups ignore letter case, so "mom's flowers" replaces the
        // picture of "Mom's Flowers" (and takes its spelling) rather than
        // adding a record no lookup would ever reach.
        SqliteStatement update(db, "UPDATE " + quoted + " SET Title = ?1, image = ?2 WHERE rowid = ?3");
        update.bindText(1, title);
        update.bindBlob(2, picture);
        sqlite3_bind_int64(update.handle(), 3, rowid);
        stepToEnd(db, update, QStringLiteral("Cannot write to %1").arg(path), error);
    } else if (error.isEmpty()) {
        SqliteStatement insert(db, "INSERT INTO " + quoted + " (Title, image) VALUES (?1, ?2)");
        insert.bindText(1, title);
        insert.bindBlob(2, picture);
        stepToEnd(db, insert, QStringLiteral("Cannot write to %1").arg(path), error);
    }
    if (!error.isEmpty()) {
        db.exec("ROLLBACK");
        return failed(error);
    }
    if (!db.exec("COMMIT"))
        return failed(db.error());
    return Outcome { QString(), QStringLiteral("%1 \"%2\" in %3").arg(rowid ? u"Replaced" : u"Added", title, table) };
}

} // namespace nuvela::imgdb
