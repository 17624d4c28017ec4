// The merge table reader on arbitrary bytes: a CSV table, written out again
// with every cell quoted, reads back as the same columns and rows.
#include "app/mergetable.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>

namespace {
QByteArray quotedRecord(const QStringList& cells)
{
    QStringList quoted;
    for (QString cell : cells)
        quoted << u'"' + cell.replace(u'"', QStringLiteral("\"\"")) + u'"';
    return quoted.join(u',').toUtf8() + "\r\n";
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QString error;
    const auto table = nuvela::parseMergeTable(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)), &error);
    if (!table)
        return 0;
    for (const nuvela::MergeRow& row : table->rows)
        if (row.number < 0 || row.line < 1 || row.cells.isEmpty())
            std::abort();
    // Store sections are written back as CSV, and a header of blanks alone
    // would be written as a blank line: neither reads back the same.
    if (table->columns.value(0) == u"section" || table->columns.join(QString()).isEmpty())
        return 0;
    QByteArray csv = "\xEF\xBB\xBF" + quotedRecord(table->columns);
    for (const nuvela::MergeRow& row : table->rows)
        csv += quotedRecord(row.cells);
    const auto again = nuvela::parseMergeTable(csv, &error);
    if (!again || again->columns != table->columns || again->rows.size() != table->rows.size())
        std::abort();
    for (qsizetype i = 0; i < table->rows.size(); ++i)
        if (again->rows[i].cells != table->rows[i].cells)
            std::abort();
    return 0;
}
