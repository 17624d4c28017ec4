#include "render/imagedb/sqlite_database.h"

#include "render/imagedb/picture_decode.h"

#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

namespace nuvela {

namespace {

// A writer (nuvela-imgdb) may hold the file for a moment; wait rather than fail.
constexpr int kBusyTimeoutMs = 2000;

int openFlags(SqliteDatabase::Mode mode)
{
    switch (mode) {
    case SqliteDatabase::Mode::ReadOnly:
        return SQLITE_OPEN_READONLY;
    case SqliteDatabase::Mode::ReadWrite:
        return SQLITE_OPEN_READWRITE;
    case SqliteDatabase::Mode::Create:
        break;
    }
    return SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
}

// Titles compare the way the Access databases the templates were written
// against compare text: without regard to letter case (in every script, not
// only ASCII as SQLite's NOCASE would), every other character significant.
int compareTitles(void*, int leftLength, const void* left, int rightLength, const void* right)
{
    const QString a = QString::fromUtf8(static_cast<const char*>(left), leftLength);
    const QString b = QString::fromUtf8(static_cast<const char*>(right), rightLength);
    return a.compare(b, Qt::CaseInsensitive);
}

} // namespace

void SqliteDatabase::Closer::operator()(sqlite3* db) const { sqlite3_close_v2(db); }
void SqliteStatement::Finaliser::operator()(sqlite3_stmt* stmt) const { sqlite3_finalize(stmt); }

SqliteDatabase::SqliteDatabase(const QString& path, Mode mode)
    : path_(path)
{
    if (mode != Mode::Create && !QFileInfo::exists(path)) {
        error_ = QStringLiteral("The image database %1 does not exist").arg(path);
        return;
    }
    // Opening a FIFO or a device would block or read garbage; only a
    // regular file (or a link to one) is a database.
    if (QFileInfo::exists(path) && !QFileInfo(path).isFile()) {
        error_ = QStringLiteral("The image database %1 is not a regular file").arg(path);
        return;
    }
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db,
                                   openFlags(mode), nullptr);
    db_.reset(db);
    if (rc != SQLITE_OK) {
        error_ = failure(QStringLiteral("Cannot open the image database %1").arg(path));
        db_.reset();
        return;
    }
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    sqlite3_extended_result_codes(db, 1);
    sqlite3_create_collation_v2(db, "TITLE", SQLITE_UTF8, nullptr, compareTitles, nullptr);
}

QString SqliteDatabase::failure(const QString& what) const
{
    const char* text = db_ ? sqlite3_errmsg(db_.get()) : "out of memory";
    return what + QStringLiteral(": ") + QString::fromUtf8(text);
}

bool SqliteDatabase::exec(const char* sql)
{
    if (sqlite3_exec(db_.get(), sql, nullptr, nullptr, nullptr) == SQLITE_OK)
        return true;
    error_ = failure(QStringLiteral("The image database %1").arg(path_));
    return false;
}

SqliteStatement::SqliteStatement(SqliteDatabase& db, const QByteArray& sql)
{
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db.handle(), sql.constData(), int(sql.size()), &stmt, nullptr) == SQLITE_OK)
        stmt_.reset(stmt);
}

void SqliteStatement::bindText(int index, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(stmt_.get(), index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

void SqliteStatement::bindBlob(int index, const QByteArray& bytes)
{
    sqlite3_bind_blob(stmt_.get(), index, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
}

bool isPlainTableName(QStringView name)
{
    if (name.isEmpty() || name.size() > 64 || name.front().isDigit())
        return false;
    for (QChar c : name) {
        if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != u'_')
            return false;
    }
    return true;
}

namespace {

// A writer stopped in the middle of a change (killed, or a full disk) leaves
// a hot journal, which only a connection that may write can roll back; a
// read-only one fails with "attempt to write a readonly database".
bool rollBackHotJournal(const QString& path)
{
    SqliteDatabase db(path, SqliteDatabase::Mode::ReadWrite);
    return db.isOpen() && db.exec("SELECT count(*) FROM sqlite_master");
}

QString hotJournalMessage(const QString& path)
{
    return QStringLiteral("The image database %1 was left half-written by a writer that was stopped, "
                          "and it can only be repaired by a user who may write to its folder: such a user "
                          "runs \"nuvela-imgdb list %1 logobank\" once")
        .arg(path);
}

enum class Query { Done, Failed, HotJournal, Busy };

// Runs `sql` (one bound title at most) on a read-only connection and hands the
// statement to `row` for each result row; `row` returns false to stop.
template <typename Row>
Query queryOnce(const QString& path, QStringView table, const QByteArray& sql, const QString* title,
                QString& error, Row& row)
{
    SqliteDatabase db(path, SqliteDatabase::Mode::ReadOnly);
    if (!db.isOpen()) {
        error = db.error();
        return Query::Failed;
    }
    const auto failedWith = [&](int code) {
        if ((code & 0xFF) == SQLITE_READONLY && code == SQLITE_READONLY_ROLLBACK)
            return Query::HotJournal;
        // Another program in the middle of a change: nothing is wrong with
        // the file, and the same lookup works once that program is done.
        if ((code & 0xFF) == SQLITE_BUSY || (code & 0xFF) == SQLITE_LOCKED) {
            error = QStringLiteral("The image database %1 is locked by another program that is changing it").arg(path);
            return Query::Busy;
        }
        error = db.failure(QStringLiteral("Cannot read table %1 of the image database %2").arg(table, path));
        return Query::Failed;
    };
    SqliteStatement stmt(db, sql);
    if (!stmt.isValid())
        return failedWith(sqlite3_extended_errcode(db.handle()));
    if (title)
        stmt.bindText(1, *title);
    int rc;
    while ((rc = sqlite3_step(stmt.handle())) == SQLITE_ROW) {
        if (!row(stmt.handle()))
            return Query::Done;
    }
    if (rc != SQLITE_DONE)
        return failedWith(sqlite3_extended_errcode(db.handle()));
    return Query::Done;
}

template <typename Row>
bool queryReadOnly(const QString& path, QStringView table, const QByteArray& sql,
                   const QString* title, QString& error, Row row, bool* busy = nullptr)
{
    if (!isPlainTableName(table)) {
        error = QStringLiteral("Not a table name: %1").arg(table);
        return false;
    }
    Query outcome = queryOnce(path, table, sql, title, error, row);
    if (outcome == Query::HotJournal && rollBackHotJournal(path))
        outcome = queryOnce(path, table, sql, title, error, row);
    if (outcome == Query::HotJournal)
        error = hotJournalMessage(path);
    if (busy)
        *busy = outcome == Query::Busy;
    return outcome == Query::Done;
}

} // namespace

QByteArray readSqlitePicture(const QString& path, QStringView table, const QString& title,
                             QString& error, bool* busy)
{
    // The title is bound, never spliced into the text: an apostrophe in it is
    // just a letter. The first record in table order wins.
    const QByteArray sql = "SELECT image FROM \"" + table.toUtf8()
        + "\" WHERE Title = ?1 COLLATE TITLE ORDER BY rowid LIMIT 1";
    QByteArray bytes;
    bool found = false;
    const bool ran = queryReadOnly(path, table, sql, &title, error, [&](sqlite3_stmt* stmt) {
        found = true;
        const int size = sqlite3_column_bytes(stmt, 0);
        if (size > kMaxPictureBytes) {
            error = QStringLiteral("The picture \"%1\" is too large (%2 bytes)").arg(title).arg(size);
            return false;
        }
        const void* data = sqlite3_column_blob(stmt, 0);
        if (data)
            bytes = QByteArray(static_cast<const char*>(data), size);
        return false;
    }, busy);
    if (!ran || !error.isEmpty())
        return {};
    if (!found) {
        error = QStringLiteral("No record data");
        return {};
    }
    if (bytes.isEmpty())
        error = QStringLiteral("The picture \"%1\" is empty").arg(title);
    return bytes;
}

QStringList readSqliteTitles(const QString& path, QStringView table, QString& error)
{
    const QByteArray sql = "SELECT Title FROM \"" + table.toUtf8() + "\" ORDER BY rowid";
    QStringList titles;
    const bool ran = queryReadOnly(path, table, sql, nullptr, error, [&](sqlite3_stmt* stmt) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
        titles.append(QString::fromUtf8(text, sqlite3_column_bytes(stmt, 0)));
        return true;
    });
    return ran ? titles : QStringList();
}

} // namespace nuvela
