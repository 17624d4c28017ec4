#include "app/mergetable.h"

#include "store/ansi.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>

namespace nuvela {

namespace {

/// UTF-16 text with any unpaired surrogate (which no font draws and UTF-8
/// cannot hold) replaced by U+FFFD, as the other decoders do.
QString decodeUtf16(QStringDecoder::Encoding encoding, const QByteArray& bytes)
{
    QString text = QStringDecoder(encoding)(bytes);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (text[i].isSurrogate())
            text[i] = QChar::ReplacementCharacter;
    }
    return text;
}

QString decodeTable(QByteArray bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.sliced(3));
    // Spreadsheets save "Unicode text" as UTF-16 with a byte order mark.
    if (bytes.startsWith("\xFF\xFE"))
        return decodeUtf16(QStringDecoder::Utf16LE, bytes.sliced(2));
    if (bytes.startsWith("\xFE\xFF"))
        return decodeUtf16(QStringDecoder::Utf16BE, bytes.sliced(2));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    // Windows-1255 Hebrew is never valid UTF-8 (its letters are lone high
    // bytes), so a failed UTF-8 reading means the store's own code page.
    if (!utf8.hasError())
        return text;
    return decodeAnsi(bytes);
}

/// The separator the header row uses most outside quotes.
QChar separatorOf(QStringView text)
{
    int counts[3] = {};
    const QChar candidates[3] = {u',', u';', u'\t'};
    bool quoted = false;
    for (const QChar c : text) {
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && (c == u'\n' || c == u'\r'))
            break;
        else if (!quoted)
            for (int i = 0; i < 3; ++i)
                counts[i] += c == candidates[i];
    }
    int best = 0;
    for (int i = 1; i < 3; ++i)
        if (counts[i] > counts[best])
            best = i;
    return candidates[best];
}

/// CSV records (RFC 4180, with lone CR or LF line ends too); each with the
/// line it starts on. A line break inside a quoted cell stays in the cell.
/// A quote never closed sets unclosedLine to the line it opens on.
QList<MergeRow> csvRecords(QStringView text, QChar separator, int* unclosedLine)
{
    QList<MergeRow> records;
    MergeRow record{0, 1, {}};
    QString cell;
    bool quoted = false, cellStarted = false, any = false;
    int line = 1, quoteLine = 0;
    const auto endCell = [&] {
        record.cells.append(cell);
        cell.clear();
        cellStarted = false;
    };
    const auto endRecord = [&] {
        endCell();
        // Blank lines are no rows, nor are lines of empty cells (what a
        // spreadsheet saves for rows it once formatted).
        if (std::any_of(record.cells.cbegin(), record.cells.cend(), [](const QString& c) { return !c.trimmed().isEmpty(); }))
            records.append(record);
        record = MergeRow{0, line, {}};
        any = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
                cell += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                if (c == u'\n' || (c == u'\r' && !(i + 1 < text.size() && text[i + 1] == u'\n')))
                    ++line;
                cell += c;
            }
            continue;
        }
        any = true;
        if (c == u'"' && !cellStarted) {
            quoted = cellStarted = true;
            quoteLine = line;
        } else if (c == separator) {
            endCell();
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            ++line;
            endRecord();
        } else {
            cell += c;
            cellStarted = true;
        }
    }
    if (any || cellStarted || !cell.isEmpty())
        endRecord();
    *unclosedLine = quoted ? quoteLine : 0;
    return records;
}

/// Store sections: "[name]" opens a row, "key=value" sets a column.
MergeTable sectionTable(QStringView text)
{
    MergeTable table;
    table.columns.append(QStringLiteral("section"));
    int lineNumber = 0;
    for (QStringView line : text.split(u'\n')) {
        ++lineNumber;
        line = line.trimmed();
        if (line.startsWith(u'[')) {
            const qsizetype close = line.indexOf(u']');
            MergeRow row{int(table.rows.size()) + 1, lineNumber, {}};
            row.cells.append(line.sliced(1, (close < 0 ? line.size() : close) - 1).trimmed().toString());
            table.rows.append(row);
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0 || table.rows.isEmpty())
            continue;
        const QString key = line.first(eq).trimmed().toString();
        qsizetype column = -1;
        for (qsizetype i = 0; i < table.columns.size() && column < 0; ++i)
            if (table.columns[i].compare(key, Qt::CaseInsensitive) == 0)
                column = i;
        if (column < 0) {
            column = table.columns.size();
            table.columns.append(key);
        }
        QStringList& cells = table.rows.last().cells;
        while (cells.size() <= column)
            cells.append(QString());
        if (cells[column].isEmpty()) // the first key of a name wins
            cells[column] = line.sliced(eq + 1).trimmed().toString();
    }
    for (MergeRow& row : table.rows)
        while (row.cells.size() < table.columns.size())
            row.cells.append(QString());
    return table;
}

} // namespace

std::optional<MergeTable> parseMergeTable(const QByteArray& bytes, QString* error)
{
    const QString text = decodeTable(bytes);
    if (text.trimmed().startsWith(u'['))
        return sectionTable(text);
    int unclosedLine = 0;
    QList<MergeRow> records = csvRecords(text, separatorOf(text), &unclosedLine);
    // The rows after such a quote would vanish into one cell.
    if (unclosedLine > 0) {
        *error = QStringLiteral("the quote opened on line %1 is never closed").arg(unclosedLine);
        return std::nullopt;
    }
    if (records.isEmpty()) {
        *error = QStringLiteral("the table has no header row");
        return std::nullopt;
    }
    MergeTable table;
    for (const QString& name : records.takeFirst().cells)
        table.columns.append(name.trimmed());
    int number = 0;
    for (MergeRow& r : records) {
        r.number = ++number;
        table.rows.append(std::move(r));
    }
    return table;
}

std::optional<MergeTable> readMergeTable(const QString& path, QString* error)
{
    // A FIFO would block the open and a device never ends: only a regular
    // file (also through a link) is a table.
    if (const QFileInfo info(path); info.exists() && !info.isFile() && !info.isDir()) {
        *error = QStringLiteral("The table \"%1\" is not a regular file (it is a device, a FIFO or a socket).").arg(path);
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Cannot read the table \"%1\": %2").arg(path, file.errorString());
        return std::nullopt;
    }
    if (file.size() > kMaxTableBytes) {
        *error = QStringLiteral("The table \"%1\" is larger than %2 MiB.").arg(path).arg(kMaxTableBytes >> 20);
        return std::nullopt;
    }
    // Read no further than the limit, also from a file that grows meanwhile.
    auto table = parseMergeTable(file.read(kMaxTableBytes + 1), error);
    if (!table)
        *error = QStringLiteral("The table \"%1\": %2").arg(path, *error);
    return table;
}

} // namespace nuvela
