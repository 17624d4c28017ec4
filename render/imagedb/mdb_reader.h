#pragma once

#include <QByteArray>
#include <QString>

namespace nuvela {

/// Where a legacy Access file keeps its pictures.
struct MdbPictureColumns {
    QString table;
    QString titleColumn; ///< a text column, compared exactly
    QString blobColumn;  ///< an OLE object column
};

/// The blob of the first record (in table order) of `columns.table` whose
/// title column equals `title`, read from the Access file `path` opened
/// read-only. The bytes come back as stored, object header included. Sets
/// `error` ("No record data" when no record matches) on failure.
///
/// Files of the older format keep text in a code page; they are read as
/// Windows-1255 so that Hebrew titles match.
QByteArray readMdbBlob(const QString& path, const MdbPictureColumns& columns, const QString& title,
                       QString& error);

} // namespace nuvela
