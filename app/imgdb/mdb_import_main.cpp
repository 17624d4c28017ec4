// nuvela-mdb-import: converts the picture tables of a legacy Access file into
// an SQLite image database. The program runs it as a separate process under
// a time and a memory limit (see render/imagedb/legacy_import.h), because the
// Access reader is not safe against damaged files.

#include "app/librarychatter.h"
#include "render/imagedb/imagedb.h"
#include "render/imagedb/legacy_import.h"
#include "render/imagedb/mdb_reader.h"
#include "render/imagedb/sqlite_database.h"

#include <QCoreApplication>

#include <sqlite3.h>

namespace {

nuvela::LibraryChatterMuted* muted = nullptr;

int refuse(const QString& why)
{
    nuvela::writeLine(muted ? muted->errorStream() : STDERR_FILENO, why);
    return nuvela::kLegacyImportRefused;
}

int import(const QString& source, const QString& target)
{
    using namespace nuvela;
    SqliteDatabase db(target, SqliteDatabase::Mode::Create);
    // The target is a private scratch file, renamed into place only when
    // complete: it needs no journal.
    if (!db.isOpen() || !db.exec("PRAGMA journal_mode=OFF; BEGIN"))
        return refuse(db.error());
    for (const QStringView table : {kLogoTable, kStockPictureTable}) {
        const QByteArray name = table.toUtf8();
        if (!db.exec("CREATE TABLE " + name + " (Title TEXT NOT NULL, image BLOB NOT NULL)"))
            return refuse(db.error());
        SqliteStatement insert(db, "INSERT INTO " + name + " (Title, image) VALUES (?1, ?2)");
        QString error;
        bool written = true;
        const bool read = visitMdbRecords(
            source, {table.toString(), QStringLiteral("Title"), QStringLiteral("image")},
            [&](const QString& title, const std::function<QByteArray()>& blob) {
                insert.bindText(1, title);
                insert.bindBlob(2, blob());
                written = sqlite3_step(insert.handle()) == SQLITE_DONE;
                sqlite3_reset(insert.handle());
                return written;
            },
            error);
        if (!written)
            return refuse(db.failure(QStringLiteral("Cannot write %1").arg(target)));
        // A file without one of the tables still serves the other; lookups
        // in the missing one find no record.
        if (!read && !error.startsWith(u"There is no table"))
            return refuse(error);
        if (!read && !db.exec("DROP TABLE " + name))
            return refuse(db.error());
    }
    if (!db.exec("COMMIT"))
        return refuse(db.error());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // The reader's debugging dumps go nowhere; only our one line is read.
    nuvela::LibraryChatterMuted quiet(true);
    muted = &quiet;
    const QStringList args = app.arguments();
    if (args.size() != 3)
        return refuse(QStringLiteral("usage: nuvela-mdb-import ACCESS-FILE SQLITE-FILE"));
    return import(args[1], args[2]);
}
