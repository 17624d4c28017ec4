#include "store/versions.h"

#include "store/ansi.h"
#include "store/keystore.h"
#include "store/pagestate.h"
#include "store/templates.h"

#include <QFile>
#include <QFileInfo>

namespace nuvela {

namespace {

QString cannotWrite(const QString& path, const QString& reason)
{
    return QStringLiteral("Cannot write %1: %2").arg(path, reason);
}

/// Store values are single lines: every line break becomes "~".
QString singleLine(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("~"));
    text.replace(u'\r', u'~');
    text.replace(u'\n', u'~');
    return text;
}

/// The version number of a header "[tav" + templateId + "girsa" + n + "]",
/// or 0 for any other line. The number must be written as the writer writes
/// it (no leading zero), or the reader would not find it either.
int versionOfHeader(QByteArrayView line, const QString& templateId)
{
    const auto name = sectionHeaderName(line);
    if (!name)
        return 0;
    const QString folded = foldName(decodeAnsi(*name));
    const QString prefix = foldName(QStringLiteral("tav%1girsa").arg(templateId));
    if (!folded.startsWith(prefix))
        return 0;
    const QStringView digits = QStringView(folded).sliced(prefix.size());
    if (digits.isEmpty() || digits.size() > 9 || digits.front() == u'0')
        return 0;
    for (QChar c : digits)
        if (c < u'0' || c > u'9')
            return 0;
    return digits.toInt();
}

/// The lines of a file without their ends; CR LF, a lone CR or a lone LF ends
/// a line, as the reader sees them.
QList<QByteArrayView> splitLines(const QByteArray& bytes)
{
    QList<QByteArrayView> lines;
    const qsizetype n = bytes.size();
    for (qsizetype pos = 0; pos < n;) {
        qsizetype end = pos;
        while (end < n && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        lines.append(QByteArrayView(bytes).sliced(pos, end - pos));
        qsizetype next = end;
        if (next < n && bytes[next] == '\r')
            ++next;
        if (next < n && bytes[next] == '\n')
            ++next;
        pos = next;
    }
    return lines;
}

} // namespace

QList<StoreEntry> versionEntries(const PageState& state)
{
    QList<StoreEntry> entries;
    auto addText = [&](int k, const QString& text) {
        entries.append({QStringLiteral("txt%1").arg(k), text});
        // An empty format would only say "the template's"; the reader
        // completes missing formats from the row definitions anyway.
        const QString formats = state.liveFormats.value(k);
        if (state.colourEdit && !formats.isEmpty())
            entries.append({QStringLiteral("col%1").arg(k), singleLine(formats)});
    };
    addText(0, QStringLiteral("ok"));
    for (const auto& [k, box] : state.katava)
        if (k > 0)
            addText(k, singleLine(state.liveTexts.value(k)));
    // While the logo shows, the headline's text has no box on the page, yet
    // it is the version's: saved without it, the version would come back with
    // an empty masthead once the logo text is switched on again.
    bool number = false;
    const int headline = state.headline.kotxtTag.toInt(&number);
    if (number && headline > 0 && !state.katava.contains(headline)
        && !state.liveTexts.value(headline).isEmpty())
        addText(headline, singleLine(state.liveTexts.value(headline)));
    for (const auto& [k, overlay] : state.gpic) {
        // Fixed pictures have no source, and "failed" means none was chosen.
        if (k > 0 && !overlay.tag.isEmpty() && overlay.tag != kFailed)
            entries.append({QStringLiteral("pic%1").arg(k), overlay.tag});
    }
    if (state.headline.collVisible)
        entries.append({QStringLiteral("cotarcolor"), QString::number(state.headline.collColour)});
    return entries;
}

StoreResult writeEntries(IniFiles& files, const QString& path, const QString& section,
                         const QList<StoreEntry>& entries)
{
    IniDocument doc;
    if (QFileInfo::exists(path)) {
        const auto current = files.read(path);
        if (!current)
            return {cannotWrite(path, QStringLiteral("the file cannot be read"))};
        doc = *current;
    }
    for (const auto& [key, value] : entries) {
        if (!doc.setValue(section, key, value))
            return {cannotWrite(path, QStringLiteral("the text holds characters that Windows-1255 "
                                                     "cannot store"))};
    }
    return files.replace(path, doc.bytes());
}

QByteArray withoutVersion(const QByteArray& bytes, const QString& templateId, int version)
{
    const auto encodedId = encodeAnsi(templateId);
    QByteArray out;
    out.reserve(bytes.size() + 64);
    bool skip = false;
    for (const QByteArrayView line : splitLines(bytes)) {
        const bool header = sectionHeaderName(line).has_value();
        if (skip && header)
            skip = false;
        const int n = header ? versionOfHeader(line, templateId) : 0;
        if (n == version)
            skip = true;
        if (skip)
            continue;
        if (n > version && encodedId)
            out += "[tav" + *encodedId + "girsa" + QByteArray::number(n - 1) + ']';
        else
            out += line;
        out += "\r\n";
    }
    return out;
}

QByteArray withVersionsOf(const QByteArray& bytes, const QByteArray& from, const QString& templateId)
{
    for (const QByteArrayView line : splitLines(bytes))
        if (versionOfHeader(line, templateId) > 0)
            return bytes;
    QByteArray taken;
    bool take = false;
    for (const QByteArrayView line : splitLines(from)) {
        if (sectionHeaderName(line))
            take = versionOfHeader(line, templateId) > 0;
        if (take) {
            taken += line;
            taken += "\r\n";
        }
    }
    if (taken.isEmpty())
        return bytes;
    QByteArray out = bytes;
    if (!out.isEmpty() && !out.endsWith('\n') && !out.endsWith('\r'))
        out += "\r\n";
    return out + taken;
}

StoreResult deleteVersion(IniFiles& files, const QString& path, const QString& templateId, int version)
{
    if (!QFileInfo::exists(path))
        return {}; // nothing is stored, so nothing is deleted
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {cannotWrite(path, QStringLiteral("the file cannot be read: ") + file.errorString())};
    const QByteArray bytes = file.read(IniFiles::kMaxFileSize + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > IniFiles::kMaxFileSize)
        return {cannotWrite(path, QStringLiteral("the file cannot be read whole"))};
    const QByteArray changed = withoutVersion(bytes, templateId, version);
    if (changed == bytes)
        return {};
    return files.replace(path, changed);
}

std::optional<QList<QString>> storedSection(IniFiles& files, const QString& path, const QString& section)
{
    const auto doc = files.read(path);
    return doc ? doc->sectionLines(section) : std::nullopt;
}

int storedVersions(KeyStore& store, const PageState& state)
{
    int n = 0;
    while (n < kMaxVersions
           && store.get(StoreMode::GetTxt, versionSection(state.templateId, n + 1), u"txt0") != kFailed)
        ++n;
    return n;
}

bool canKeepVersions(const PageState& state)
{
    return !state.templateId.isEmpty() && state.templateId != kFailed;
}

} // namespace nuvela
