#include "store/recovery.h"

#include "store/pagestate.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace nuvela {

namespace {

// The first line names the format; a file of another version is not guessed at.
constexpr char kHeader[] = "nuvela-recovery 1";
constexpr char kEnd[] = "end";
// Far beyond any page's live tables; a larger file is not ours.
constexpr qint64 kMaxFileBytes = 16 * 1024 * 1024;
constexpr int kMaxObjects = 10000;

// Values keep every character; only the line structure needs escaping.
void appendEscaped(QByteArray& out, const QString& value)
{
    const QByteArray utf8 = value.toUtf8();
    for (char c : utf8) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
}

std::optional<QString> unescaped(QByteArrayView value)
{
    QByteArray utf8;
    utf8.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != '\\') {
            utf8 += value[i];
            continue;
        }
        if (++i == value.size())
            return std::nullopt;
        switch (value[i]) {
        case '\\': utf8 += '\\'; break;
        case 'n': utf8 += '\n'; break;
        case 'r': utf8 += '\r'; break;
        default: return std::nullopt;
        }
    }
    return QString::fromUtf8(utf8);
}

void line(QByteArray& out, const char* key, const QString& value)
{
    out += key;
    out += '=';
    appendEscaped(out, value);
    out += '\n';
}

void indexedLines(QByteArray& out, const char* key, const QList<QString>& table)
{
    for (qsizetype n = 0; n < table.size(); ++n) {
        if (table[n].isEmpty())
            continue; // the count restores empty entries
        out += key;
        out += QByteArray::number(n);
        out += '=';
        appendEscaped(out, table[n]);
        out += '\n';
    }
}

/// "text12" split into its key and object number, when it has one.
bool indexedKey(QByteArrayView key, QByteArrayView prefix, int& n)
{
    if (!key.startsWith(prefix) || key.size() == prefix.size())
        return false;
    bool ok = false;
    n = key.sliced(prefix.size()).toByteArray().toInt(&ok);
    return ok && n >= 0;
}

} // namespace

RecoveryState captureRecovery(const PageState& state, const QString& programDir, const QDateTime& when)
{
    RecoveryState r;
    r.programDir = programDir;
    r.saved = when;
    r.tavnit = state.tavnit;
    r.version = state.version;
    r.modified = state.modified;
    r.logoText = state.headline.kotxtChecked;
    r.headlineColour = state.headline.collColour;
    r.texts = state.liveTexts;
    r.formats = state.liveFormats;
    for (const auto& [n, overlay] : state.gpic)
        if (!overlay.tag.isEmpty())
            r.pictureTags[n] = overlay.tag;
    return r;
}

void applyRecovery(const RecoveryState& saved, PageState& state)
{
    state.liveTexts = saved.texts;
    state.liveFormats = saved.formats;
    for (auto& [n, overlay] : state.gpic) {
        // A frame without a saved tag had none: it shows what the version stores.
        const auto it = saved.pictureTags.find(n);
        overlay.tag = it == saved.pictureTags.end() ? QString() : it->second;
    }
    state.headline.collColour = saved.headlineColour;
    state.modified = saved.modified;
}

QByteArray serialiseRecovery(const RecoveryState& saved)
{
    QByteArray out;
    // Room for the tables and their keys, so appending rarely reallocates.
    qsizetype size = 256;
    for (const QString& t : saved.texts)
        size += t.size() * 2 + 12;
    for (const QString& f : saved.formats)
        size += f.size() + 12;
    out.reserve(size);
    out += kHeader;
    out += '\n';
    line(out, "folder", saved.programDir);
    line(out, "saved", saved.saved.toUTC().toString(Qt::ISODateWithMs));
    line(out, "tavnit", saved.tavnit);
    line(out, "version", QString::number(saved.version));
    line(out, "modified", saved.modified);
    line(out, "logotext", saved.logoText ? QStringLiteral("true") : QStringLiteral("false"));
    line(out, "colour", QString::number(saved.headlineColour));
    line(out, "texts", QString::number(saved.texts.size()));
    line(out, "formats", QString::number(saved.formats.size()));
    indexedLines(out, "text", saved.texts);
    indexedLines(out, "format", saved.formats);
    for (const auto& [n, tag] : saved.pictureTags) {
        out += "picture" + QByteArray::number(n) + '=';
        appendEscaped(out, tag);
        out += '\n';
    }
    out += kEnd;
    out += '\n';
    return out;
}

std::optional<RecoveryState> parseRecovery(const QByteArray& bytes, QString* error)
{
    auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return std::nullopt;
    };
    QList<QByteArrayView> lines;
    for (qsizetype from = 0; from < bytes.size();) {
        const qsizetype end = bytes.indexOf('\n', from);
        if (end < 0)
            return fail(QStringLiteral("the file is cut off"));
        lines.append(QByteArrayView(bytes).sliced(from, end - from));
        from = end + 1;
    }
    if (lines.isEmpty() || lines.first() != kHeader)
        return fail(QStringLiteral("it is not a recovery file of this version of the program"));
    if (lines.size() < 2 || lines.last() != kEnd)
        return fail(QStringLiteral("the file is cut off"));

    RecoveryState r;
    std::map<QByteArray, QString> fields;
    std::map<int, QString> texts, formats;
    for (qsizetype i = 1; i + 1 < lines.size(); ++i) {
        const QByteArrayView l = lines[i];
        const qsizetype eq = l.indexOf('=');
        if (eq <= 0)
            return fail(QStringLiteral("line %1 is damaged").arg(i + 1));
        const QByteArrayView key = l.first(eq);
        const std::optional<QString> value = unescaped(l.sliced(eq + 1));
        if (!value)
            return fail(QStringLiteral("line %1 is damaged").arg(i + 1));
        int n = 0;
        if (indexedKey(key, "text", n))
            texts[n] = *value;
        else if (indexedKey(key, "format", n))
            formats[n] = *value;
        else if (indexedKey(key, "picture", n))
            r.pictureTags[n] = *value;
        else
            fields[key.toByteArray()] = *value;
    }
    auto field = [&](const char* key) -> const QString* {
        const auto it = fields.find(key);
        return it == fields.end() ? nullptr : &it->second;
    };
    auto number = [&](const char* key, int limit, int& to) {
        const QString* v = field(key);
        bool ok = false;
        to = v ? v->toInt(&ok) : 0;
        return ok && to >= 0 && to <= limit;
    };
    for (const char* key : {"folder", "saved", "tavnit", "version", "modified", "logotext", "colour", "texts", "formats"})
        if (!field(key))
            return fail(QStringLiteral("the entry \"%1\" is missing").arg(QString::fromLatin1(key)));
    r.programDir = *field("folder");
    r.saved = QDateTime::fromString(*field("saved"), Qt::ISODateWithMs);
    r.tavnit = *field("tavnit");
    r.modified = *field("modified");
    r.logoText = *field("logotext") == u"true";
    bool colourOk = false;
    r.headlineColour = field("colour")->toUInt(&colourOk);
    int textCount = 0, formatCount = 0;
    const bool haveTexts = number("texts", kMaxObjects, textCount);
    const bool haveFormats = number("formats", kMaxObjects, formatCount);
    if (!r.saved.isValid() || r.tavnit.isEmpty() || !number("version", kMaxObjects, r.version) || r.version < 1
        || !colourOk || !haveTexts || !haveFormats)
        return fail(QStringLiteral("its entries are damaged"));
    if ((!texts.empty() && texts.rbegin()->first >= textCount)
        || (!formats.empty() && formats.rbegin()->first >= formatCount))
        return fail(QStringLiteral("its entries are damaged"));
    r.texts.resize(textCount);
    r.formats.resize(formatCount);
    for (const auto& [n, t] : texts)
        r.texts[n] = t;
    for (const auto& [n, f] : formats)
        r.formats[n] = f;
    return r;
}

QString recoveryFolder()
{
    // Unsaved work is state, not a setting or a document: the XDG state folder.
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    return base + QStringLiteral("/nuvela/recovery");
}

QString recoveryPath(const QString& programDir)
{
    const QString canonical = QFileInfo(programDir).canonicalFilePath();
    const QByteArray hash = QCryptographicHash::hash((canonical.isEmpty() ? programDir : canonical).toUtf8(),
                                                     QCryptographicHash::Sha256)
                                .toHex()
                                .left(24);
    return recoveryFolder() + u'/' + QString::fromLatin1(hash) + QStringLiteral(".recovery");
}

StoreResult writeRecovery(const QString& path, const QByteArray& bytes)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        return {QStringLiteral("The folder %1 cannot be made.").arg(folder)};
    // A temporary file beside it (private to the user, as the user's words
    // are) renamed over it: the old file or the new, never half of one. No
    // sync to disk: it would cost several milliseconds on every edit, and
    // the system writes the file out within seconds anyway.
    QTemporaryFile temp(folder + QStringLiteral("/.XXXXXX.part"));
    if (!temp.open())
        return {QStringLiteral("%1 cannot be written: %2").arg(path, temp.errorString())};
    if (temp.write(bytes) != bytes.size() || !temp.flush())
        return {QStringLiteral("%1 cannot be written: %2").arg(path, temp.errorString())};
    if (std::rename(QFile::encodeName(temp.fileName()).constData(), QFile::encodeName(path).constData()) != 0)
        return {QStringLiteral("%1 cannot be written: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)))};
    temp.setAutoRemove(false); // it is the recovery file now
    return {};
}

std::optional<RecoveryState> readRecovery(const QString& path, QString* error)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("the file cannot be read");
        return std::nullopt;
    }
    if (file.size() > kMaxFileBytes) {
        if (error)
            *error = QStringLiteral("the file is too large");
        return std::nullopt;
    }
    return parseRecovery(file.readAll(), error);
}

bool removeRecovery(const QString& path)
{
    return !QFileInfo::exists(path) || QFile::remove(path);
}

QString setAsideRecovery(const QString& path)
{
    QString aside = path + QStringLiteral(".damaged");
    for (int i = 2; QFileInfo::exists(aside) && i < 100; ++i)
        aside = path + QStringLiteral(".damaged%1").arg(i);
    if (QFile::rename(path, aside))
        return aside;
    QFile::remove(path);
    return {};
}

} // namespace nuvela
