#include "render/imagedb/imagedb.h"

#include "render/imagedb/legacy_import.h"
#include "render/imagedb/picture_bytes.h"
#include "render/imagedb/sqlite_database.h"

#include <QDir>
#include <QFileInfo>

// The Access files of old were opened with a password that only their ODBC
// driver asked for. Neither reader here needs one, so no password is kept in
// the program at all.

namespace nuvela {

ImageDatabaseFile locateImageDatabase(const QString& programDir, Edition edition)
{
    const QDir dir(programDir);
    const QString base = imageDatabaseBaseName(edition);
    const QString legacy = dir.filePath(base + QStringLiteral(".mdb"));
    if (QFileInfo(legacy).isFile())
        return { legacy, ImageDatabaseFile::Kind::Legacy };
    return { dir.filePath(base + QStringLiteral(".db")), ImageDatabaseFile::Kind::Sqlite };
}

QString missingPictureMessage(const ImageDatabaseFile& database, QStringView table, const QString& title)
{
    return QStringLiteral("The picture titled \"%1\" is not in the image database %2 (table %3)")
        .arg(title, QFileInfo(database.path).fileName(), table);
}

ImageFetch fetchImageBytes(const ImageDatabaseFile& database, QStringView table, const QString& title)
{
    ImageFetch fetch;
    if (database.kind == ImageDatabaseFile::Kind::Legacy) {
        const LegacyImport imported = importLegacyDatabase(database.path);
        fetch.error = imported.error;
        if (fetch.ok()) {
            fetch.bytes = readSqlitePicture(imported.database, table, title, fetch.error, &fetch.busy);
            // The user knows the legacy file, not its converted copy.
            fetch.error.replace(imported.database, database.path);
        }
    } else {
        fetch.bytes = readSqlitePicture(database.path, table, title, fetch.error, &fetch.busy);
    }
    if (fetch.ok()) {
        fetch.bytes = unwrapPictureBytes(fetch.bytes);
    } else {
        fetch.bytes.clear();
        // The readers' bare miss says neither what was looked for nor where.
        fetch.noRecord = fetch.error == u"No record data";
        if (fetch.noRecord)
            fetch.error = missingPictureMessage(database, table, title);
    }
    return fetch;
}

ImageFetch fetchImageBytes(const QString& programDir, Edition edition, QStringView table,
                           const QString& title)
{
    return fetchImageBytes(locateImageDatabase(programDir, edition), table, title);
}

} // namespace nuvela
