#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace nuvela {

/// An open SQLite file, closed when the object goes. Every failure is kept as
/// a text naming the file, so callers can pass it on unchanged.
class SqliteDatabase {
public:
    enum class Mode { ReadOnly, ReadWrite, Create };

    /// Opens `path`; ReadOnly and ReadWrite never create a file.
    SqliteDatabase(const QString& path, Mode mode);

    bool isOpen() const { return db_ != nullptr; }
    const QString& error() const { return error_; }
    sqlite3* handle() const { return db_.get(); }

    /// Runs statements without results; false with error() set on failure.
    bool exec(const char* sql);

    /// A failure text for the last call on the handle: "<what>: <SQLite's text>".
    QString failure(const QString& what) const;

private:
    struct Closer {
        void operator()(sqlite3* db) const;
    };
    QString path_;
    std::unique_ptr<sqlite3, Closer> db_;
    QString error_;
};

/// A prepared statement, finalised when the object goes.
class SqliteStatement {
public:
    SqliteStatement(SqliteDatabase& db, const QByteArray& sql);

    bool isValid() const { return stmt_ != nullptr; }
    sqlite3_stmt* handle() const { return stmt_.get(); }
    void bindText(int index, const QString& text);
    void bindBlob(int index, const QByteArray& bytes);

private:
    struct Finaliser {
        void operator()(sqlite3_stmt* stmt) const;
    };
    std::unique_ptr<sqlite3_stmt, Finaliser> stmt_;
};

/// Whether `name` is a plain table name that may be written into a query;
/// table names cannot be bound as parameters.
bool isPlainTableName(QStringView name);

/// The picture bytes of the first record of `table` whose `Title` is exactly
/// `title`, from the image database file `path` opened read-only. Sets `error`
/// ("No record data" when no record matches) and returns nothing on failure;
/// `busy`, when given, tells whether the failure was another program holding
/// the file while it changes it.
QByteArray readSqlitePicture(const QString& path, QStringView table, const QString& title,
                             QString& error, bool* busy = nullptr);

/// The titles of `table` in record order.
QStringList readSqliteTitles(const QString& path, QStringView table, QString& error);

} // namespace nuvela
