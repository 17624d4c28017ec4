#include "store/inidocument.h"

#include "store/ansi.h"

namespace nuvela {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

QByteArrayView trimmed(QByteArrayView v)
{
    qsizetype b = 0, e = v.size();
    while (b < e && isBlank(v[b]))
        ++b;
    while (e > b && isBlank(v[e - 1]))
        --e;
    return v.sliced(b, e - b);
}

/// The section name of a header line "[name]", or nothing for other lines.
std::optional<QByteArrayView> headerName(QByteArrayView line)
{
    const QByteArrayView t = trimmed(line);
    if (t.isEmpty() || t[0] != '[')
        return std::nullopt;
    const qsizetype close = t.indexOf(']');
    const QByteArrayView name = close < 0 ? t.sliced(1) : t.sliced(1, close - 1);
    return trimmed(name);
}

} // namespace

QString foldName(QStringView name) { return name.toString().toCaseFolded(); }

std::optional<QByteArrayView> sectionHeaderName(QByteArrayView line) { return headerName(line); }

IniDocument::IniDocument(QByteArray bytes)
    : bytes_(std::move(bytes))
{
    parse();
}

void IniDocument::parse()
{
    lines_.clear();
    sections_.clear();
    sectionIndex_.clear();
    refusal_.clear();

    // Counted before anything is indexed, so a hostile file costs one pass.
    qsizetype lineCount = 0, sectionCount = 0;
    bool lineStart = true, nul = false;
    const qsizetype size = bytes_.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char c = bytes_[i];
        if (c == '\0') {
            nul = true;
        } else if (c == '\n' || c == '\r') {
            if (!(c == '\r' && i + 1 < size && bytes_[i + 1] == '\n'))
                ++lineCount;
            lineStart = true;
        } else if (lineStart && c != ' ' && c != '\t') {
            sectionCount += c == '[';
            lineStart = false;
        }
    }
    if (nul || lineCount > kMaxLines || sectionCount > kMaxSections) {
        // No 8-bit text holds a NUL byte; UTF-16 text holds one in every
        // other byte. Read as Windows-1255 it has no sections, and a value
        // written into it would be 8-bit text amid UTF-16.
        refusal_ = nul ? QStringLiteral("it is not Windows-1255 text (it holds NUL bytes, as UTF-16 text does)")
            : lineCount > kMaxLines
            ? QStringLiteral("it has %1 lines, more than the %2 a store file may have").arg(lineCount).arg(kMaxLines)
            : QStringLiteral("it has %1 sections, more than the %2 a store file may have").arg(sectionCount).arg(kMaxSections);
        bytes_.clear();
        sections_.append(Section{});
        return;
    }

    // Lines end at CR LF, or at a lone CR or LF written by another program.
    // A UTF-8 byte order mark that an editor put in front is not part of the
    // first line, which would otherwise hide the first section; the mark's
    // bytes stay in the file.
    const qsizetype n = bytes_.size();
    for (qsizetype pos = bytes_.startsWith("\xEF\xBB\xBF") ? 3 : 0; pos < n;) {
        qsizetype end = pos;
        while (end < n && bytes_[end] != '\r' && bytes_[end] != '\n')
            ++end;
        qsizetype next = end;
        if (next < n && bytes_[next] == '\r')
            ++next;
        if (next < n && bytes_[next] == '\n' && (next == end || bytes_[next - 1] == '\r'))
            ++next;
        lines_.append({pos, end, next});
        pos = next;
    }

    sections_.append(Section{}); // lines before the first header
    for (qsizetype i = 0; i < lines_.size(); ++i) {
        const QByteArrayView line = lineBytes(i);
        if (const auto name = headerName(line)) {
            Section s;
            s.header = i;
            s.lastLine = i;
            const QString folded = foldName(decodeAnsi(*name));
            if (!sectionIndex_.contains(folded)) // the first section of a name wins
                sectionIndex_.insert(folded, sections_.size());
            sections_.append(s);
            continue;
        }
        Section& s = sections_.last();
        if (!trimmed(line).isEmpty())
            s.lastLine = i;
        const qsizetype eq = line.indexOf('=');
        if (eq < 0)
            continue;
        s.lastEntry = i;
        const QString key = foldName(decodeAnsi(trimmed(line.first(eq))));
        if (!s.keys.contains(key))
            s.keys.insert(key, i);
    }
}

QByteArrayView IniDocument::lineBytes(qsizetype index) const
{
    const Line& l = lines_[index];
    return QByteArrayView(bytes_).sliced(l.begin, l.end - l.begin);
}

std::optional<QString> IniDocument::value(QStringView section, QStringView key) const
{
    const auto s = sectionIndex_.constFind(foldName(section));
    if (s == sectionIndex_.cend())
        return std::nullopt;
    const Section& sec = sections_[*s];
    const auto k = sec.keys.constFind(foldName(key));
    if (k == sec.keys.cend())
        return std::nullopt;
    const QByteArrayView line = lineBytes(*k);
    return decodeAnsi(trimmed(line.sliced(line.indexOf('=') + 1)));
}

std::optional<QList<QString>> IniDocument::sectionLines(QStringView section) const
{
    const auto s = sectionIndex_.constFind(foldName(section));
    if (s == sectionIndex_.cend())
        return std::nullopt;
    const Section& sec = sections_[*s];
    QList<QString> out;
    for (qsizetype i = sec.header + 1; i <= sec.lastLine; ++i) {
        const QByteArrayView t = trimmed(lineBytes(i));
        if (!t.isEmpty())
            out.append(decodeAnsi(t));
    }
    return out;
}

QList<QString> IniDocument::sectionNames() const
{
    QList<QString> out;
    for (qsizetype k = 1; k < sections_.size(); ++k)
        out.append(decodeAnsi(*headerName(lineBytes(sections_[k].header))));
    return out;
}

QList<int> IniDocument::headerLines() const
{
    QList<int> out;
    for (qsizetype k = 1; k < sections_.size(); ++k)
        out.append(int(sections_[k].header) + 1);
    return out;
}

std::optional<int> IniDocument::sectionLine(QStringView section) const
{
    const auto s = sectionIndex_.constFind(foldName(section));
    if (s == sectionIndex_.cend())
        return std::nullopt;
    return int(sections_[*s].header) + 1;
}

std::optional<int> IniDocument::keyLine(QStringView section, QStringView key) const
{
    const auto s = sectionIndex_.constFind(foldName(section));
    if (s == sectionIndex_.cend())
        return std::nullopt;
    const auto k = sections_[*s].keys.constFind(foldName(key));
    if (k == sections_[*s].keys.cend())
        return std::nullopt;
    return int(*k) + 1;
}

bool IniDocument::setValue(QStringView section, QStringView key, QStringView value)
{
    const auto encodedValue = encodeAnsi(value);
    const auto encodedKey = encodeAnsi(key);
    const auto encodedSection = encodeAnsi(section);
    if (!encodedValue || !encodedKey || !encodedSection)
        return false;

    QByteArray out;
    const auto s = sectionIndex_.constFind(foldName(section));
    if (s != sectionIndex_.cend()) {
        const Section& sec = sections_[*s];
        const auto k = sec.keys.constFind(foldName(key));
        if (k != sec.keys.cend()) {
            // Keep everything up to and including "=", replace the rest of the line.
            const Line& l = lines_[*k];
            const qsizetype valueStart = l.begin + lineBytes(*k).indexOf('=') + 1;
            bytes_.replace(valueStart, l.end - valueStart, *encodedValue);
        } else {
            const qsizetype after = sec.lastEntry >= 0 ? sec.lastEntry : sec.header;
            const Line& l = lines_[after];
            QByteArray insert;
            if (l.next == l.end) // last line of the file without a line end
                insert += "\r\n";
            insert += *encodedKey + '=' + *encodedValue + "\r\n";
            bytes_.insert(l.next, insert);
        }
    } else {
        if (!bytes_.isEmpty() && !bytes_.endsWith('\n') && !bytes_.endsWith('\r'))
            bytes_ += "\r\n";
        bytes_ += '[' + *encodedSection + "]\r\n" + *encodedKey + '=' + *encodedValue + "\r\n";
    }
    parse();
    return true;
}

} // namespace nuvela
