#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace nuvela {

/// Where a legacy Access file keeps its pictures.
struct MdbPictureColumns {
    QString table;
    QString titleColumn; ///< a text column, compared exactly
    QString blobColumn;  ///< an OLE object column
};

/// Hands every record of `columns.table`, in table order, to a visitor: its
/// title and a reader of its blob (read only when called). The visitor
/// returns false to stop. False with `error` set when the file, the table or
/// a column is missing or unusable.
using MdbRecordVisitor = std::function<bool(const QString& title, const std::function<QByteArray()>& blob)>;
bool visitMdbRecords(const QString& path, const MdbPictureColumns& columns, const MdbRecordVisitor& visit,
                     QString& error);

/// The blob of the first record (in table order) of `columns.table` whose
/// title column equals `title`, read from the Access file `path` opened
/// read-only. The bytes come back as stored, object header included. Sets
/// `error` ("No record data" when no record matches) on failure.
///
/// libmdb is not safe against damaged files (it may loop or grow without
/// bound): the program calls these only in the helper program that imports
/// legacy files (see legacy_import.h).
///
/// Files of the older format keep text in a code page; they are read as
/// Windows-1255 so that Hebrew titles match.
QByteArray readMdbBlob(const QString& path, const MdbPictureColumns& columns, const QString& title,
                       QString& error);

} // namespace nuvela
