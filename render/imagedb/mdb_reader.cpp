#include "render/imagedb/mdb_reader.h"

#include "render/imagedb/picture_decode.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <mdbtools.h>
#include <optional>
#include <vector>

namespace nuvela {

namespace {

// mdbtools chooses its text conversion from the environment when a file is
// opened, and only then. The variables are set for the open and put back
// right after, so the user's environment is as it was for everything else.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value)
        : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = std::string(old);
        setenv(name, value, 1);
    }
    ~ScopedEnvironment()
    {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

struct HandleCloser {
    void operator()(MdbHandle* mdb) const { mdb_close(mdb); }
};
struct TableFreer {
    void operator()(MdbTableDef* table) const { mdb_free_tabledef(table); }
};
using MdbFile = std::unique_ptr<MdbHandle, HandleCloser>;
using MdbTable = std::unique_ptr<MdbTableDef, TableFreer>;

// Every Jet and ACE file names its engine at offset 4 of its first page; a
// file without that is refused before the library parses anything of it.
bool looksLikeAccessFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(19);
    return head.startsWith(QByteArrayView("\0\1\0\0", 4))
        && (head.mid(4) == "Standard Jet DB" || head.mid(4) == "Standard ACE DB");
}

MdbFile openReadOnly(const QString& path)
{
    const ScopedEnvironment oldFormatText("MDB_JET3_CHARSET", "CP1255");
    const ScopedEnvironment converted("MDBICONV", "UTF-8");
    return MdbFile(mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS));
}

// Column numbers for mdb_bind_column count from 1; 0 means not found.
int columnNumber(MdbTableDef* table, const QString& name, MdbColumn** column)
{
    for (guint i = 0; i < table->num_cols; ++i) {
        auto* col = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
        if (QString::fromUtf8(col->name).compare(name, Qt::CaseInsensitive) == 0) {
            *column = col;
            return int(i) + 1;
        }
    }
    return 0;
}

QByteArray readOle(MdbHandle* mdb, MdbColumn* column)
{
    size_t size = 0;
    void* data = mdb_ole_read_full(mdb, column, &size);
    if (!data)
        return {};
    QByteArray bytes(static_cast<const char*>(data), qsizetype(size));
    std::free(data);
    return bytes;
}

} // namespace

bool visitMdbRecords(const QString& path, const MdbPictureColumns& columns, const MdbRecordVisitor& visit,
                     QString& error)
{
    const QString where = QStringLiteral("the image database %1").arg(path);
    if (!QFileInfo(path).isFile()) {
        error = QStringLiteral("The image database %1 does not exist").arg(path);
        return false;
    }
    MdbFile mdb = looksLikeAccessFile(path) ? openReadOnly(path) : nullptr;
    if (!mdb || !mdb_read_catalog(mdb.get(), MDB_TABLE)) {
        error = QStringLiteral("Cannot open %1: not an Access database").arg(where);
        return false;
    }
    QByteArray tableName = columns.table.toUtf8();
    MdbTable table(mdb_read_table_by_name(mdb.get(), tableName.data(), MDB_TABLE));
    if (!table || !mdb_read_columns(table.get())) {
        error = QStringLiteral("There is no table %1 in %2").arg(columns.table, where);
        return false;
    }
    MdbColumn* titleColumn = nullptr;
    MdbColumn* blobColumn = nullptr;
    const int titleNumber = columnNumber(table.get(), columns.titleColumn, &titleColumn);
    const int blobNumber = columnNumber(table.get(), columns.blobColumn, &blobColumn);
    if (!titleNumber || !blobNumber) {
        error = QStringLiteral("Table %1 of %2 has no column %3")
                    .arg(columns.table, where, titleNumber ? columns.blobColumn : columns.titleColumn);
        return false;
    }
    if (titleColumn->col_type != MDB_TEXT && titleColumn->col_type != MDB_MEMO) {
        error = QStringLiteral("Column %1 of table %2 is not text").arg(columns.titleColumn, columns.table);
        return false;
    }
    if (blobColumn->col_type != MDB_OLE) {
        error = QStringLiteral("Column %1 of table %2 holds no pictures").arg(columns.blobColumn, columns.table);
        return false;
    }

    // The library writes converted text, and blob chunks, into these buffers
    // up to its bind size; they must be at least that long.
    const size_t bindSize = std::max<size_t>(mdb->bind_size, MDB_BIND_SIZE);
    std::vector<char> titleBuffer(bindSize + 1, '\0');
    std::vector<char> blobBuffer(bindSize + 1, '\0');
    int titleLength = 0;
    int blobLength = 0;
    mdb_bind_column(table.get(), titleNumber, titleBuffer.data(), &titleLength);
    mdb_bind_column(table.get(), blobNumber, blobBuffer.data(), &blobLength);

    mdb_rewind_table(table.get());
    while (mdb_fetch_row(table.get())) {
        const QString title = QString::fromUtf8(
            titleBuffer.data(), std::clamp<qsizetype>(titleLength, 0, qsizetype(bindSize)));
        if (!visit(title, [&] { return readOle(mdb.get(), blobColumn); }))
            break;
    }
    return true;
}

QByteArray readMdbBlob(const QString& path, const MdbPictureColumns& columns, const QString& title,
                       QString& error)
{
    QByteArray found;
    bool matched = false;
    const bool read = visitMdbRecords(path, columns, [&](const QString& recordTitle, const auto& blob) {
        // Access compares text without regard to letter case.
        if (recordTitle.compare(title, Qt::CaseInsensitive) != 0)
            return true;
        matched = true;
        found = blob();
        return false;
    }, error);
    if (!read)
        return {};
    if (!matched)
        error = QStringLiteral("No record data");
    else if (found.isEmpty())
        error = QStringLiteral("The picture \"%1\" is empty").arg(title);
    else if (found.size() > kMaxPictureBytes)
        error = QStringLiteral("The picture \"%1\" is too large (%2 bytes)").arg(title).arg(found.size());
    return error.isEmpty() ? found : QByteArray();
}

} // namespace nuvela
