#include "app/templatecheck.h"

#include "canvas/surface.h"
#include "render/imagedb/imagedb.h"
#include "store/ansi.h"
#include "store/inidocument.h"
#include "store/inifiles.h"
#include "store/numbers.h"
#include "store/templates.h"
#include "text/rowmodel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QTextStream>

#include <algorithm>
#include <cmath>

namespace nuvela {

namespace {

constexpr int kMaxObjects = 50;        // the page walk stops after object 50
constexpr int kMaxTextRows = 10;       // rows of an editable text object
constexpr int kMaxFixedRows = 6;       // rows of a fixed text object
constexpr int kMaxStarPoints = 1000;   // the star drawer refuses more than 2000 corners
constexpr int kLanguageBuffer = 1300;  // a window section is read into this many characters
constexpr int kIdentifierLength = 3;   // versions are found by "[tav" + three characters

const QStringList kTypeWords = {u"malben"_qs,  u"koteret"_qs, u"picture"_qs,
                                u"fixpicture"_qs, u"text"_qs, u"fixtext"_qs,
                                u"circle"_qs,  u"polygon"_qs, u"triangle"_qs};
const QStringList kWindows = {u"article"_qs, u"picform"_qs, u"txtedit"_qs, u"picedit"_qs,
                              u"optionfrm"_qs};
// The section of single texts (messages, prompts, titles) beside the windows'.
const QString kMessages = QStringLiteral("messages");
// The widest page the screen-scale canvas (15 twips a pixel) can hold.
constexpr double kLargestPageTwips = double(Surface::kMaxPixels) * 15;
const QStringList kAlignWords = {u"right"_qs, u"left"_qs, u"center"_qs, u"full"_qs};

QString q(const QString& s) { return u'"' + s + u'"'; }

/// A file read once, with its lines (ended by CR LF, or by a lone CR or LF).
struct SourceFile {
    QString path;
    QByteArray bytes;
    IniDocument doc;
    QList<QByteArrayView> lines;

    explicit SourceFile(QString p, QByteArray b)
        : path(std::move(p))
        , bytes(std::move(b))
        , doc(bytes)
    {
        const QByteArrayView all(bytes);
        for (qsizetype pos = 0; pos < all.size();) {
            qsizetype end = pos;
            while (end < all.size() && all[end] != '\r' && all[end] != '\n')
                ++end;
            lines.append(all.sliced(pos, end - pos));
            qsizetype next = end;
            if (next < all.size() && all[next] == '\r')
                ++next;
            if (next < all.size() && all[next] == '\n' && (next == end || all[next - 1] == '\r'))
                ++next;
            pos = next;
        }
    }
};

class Checker {
public:
    Checker(QString dir, Edition edition)
        : dir_(std::move(dir))
        , database_(locateImageDatabase(dir_, edition))
    {
    }

    QList<CheckProblem> problems;

    void report(const QString& file, int line, const QString& message)
    {
        problems.append({file, line, message});
    }

    /// Reads a file as the program does; reports and returns nothing when
    /// the program would not read it either: not a regular file (a device
    /// never ends, a FIFO never answers), beyond a store file's limits, or
    /// not 8-bit text.
    std::optional<SourceFile> load(const QString& path)
    {
        const auto doc = files_.read(path);
        if (!doc) {
            QString why = files_.refusal(path);
            if (QFile f(path); why.isEmpty() && !f.open(QIODevice::ReadOnly))
                why = f.errorString();
            report(path, 1, QStringLiteral("cannot be read: %1").arg(why));
            return std::nullopt;
        }
        SourceFile file(path, doc->bytes());
        checkBytes(file);
        return file;
    }

    /// A template's identifier, read as the program reads it, without
    /// checking the rest of the file.
    std::optional<QString> identifierOf(const QString& path)
    {
        const auto doc = files_.read(path);
        return doc ? doc->value(u"templateid", u"id") : std::nullopt;
    }

    void checkTemplate(const SourceFile& t, const QString& name, QHash<QString, QString>& idOwners);
    void checkTextStore(const SourceFile& s, const QStringList& ids, bool onlyThose);
    void checkLanguage(const SourceFile& l);
    QString dir() const { return dir_; }

private:
    void checkBytes(const SourceFile& f);
    int lineOf(const SourceFile& f, const QString& section, const QString& key = {}) const
    {
        if (!key.isEmpty())
            if (const auto l = f.doc.keyLine(section, key))
                return *l;
        return f.doc.sectionLine(section).value_or(1);
    }
    std::optional<Fields::Box> checkBox(const SourceFile& t, const QString& sec, const QString& key,
                                        int parts);
    void checkColour(const SourceFile& t, const QString& sec, const QString& key, bool required,
                     const QString& whatIfMissing);
    void checkRows(const SourceFile& t, const QString& sec, bool fixed);
    void checkDatabaseTitle(const SourceFile& t, const QString& sec, const QString& key,
                            QStringView table, const QString& title);
    void checkPictureFile(const QString& file, int line, const QString& name, const QString& where);

    QString dir_;
    IniFiles files_;
    ImageDatabaseFile database_;
    QHash<QString, QString> lookups_; // table + title → failure text, "" when found
    double pageW_ = 0, pageH_ = 0;
};

void Checker::checkBytes(const SourceFile& f)
{
    // Every line is checked on its own so that the message points at it.
    for (qsizetype i = 0; i < f.lines.size(); ++i) {
        if (!hasUndefinedAnsi(f.lines[i]))
            continue;
        const bool utf8 = looksLikeUtf8(f.lines[i]);
        report(f.path, int(i) + 1,
               QStringLiteral("bytes that are not Windows-1255%1")
                   .arg(utf8 ? QStringLiteral(" (the line looks like UTF-8: save the file as Windows-1255)")
                             : QString()));
    }
    // Lone line ends: the first one is named, the others counted.
    int line = 1, count = 0, first = 0;
    QString kind;
    const QByteArray& b = f.bytes;
    for (qsizetype i = 0; i < b.size(); ++i) {
        if (b[i] == '\r' && i + 1 < b.size() && b[i + 1] == '\n') {
            ++i;
            ++line;
            continue;
        }
        if (b[i] == '\r' || b[i] == '\n') {
            if (count++ == 0) {
                first = line;
                kind = b[i] == '\r' ? QStringLiteral("CR") : QStringLiteral("LF");
            }
            ++line;
        }
    }
    if (count > 0)
        report(f.path, first,
               QStringLiteral("line ends with a lone %1 instead of CR LF%2")
                   .arg(kind, count > 1 ? QStringLiteral(" (%1 lines like this)").arg(count) : QString()));
}

std::optional<Fields::Box> Checker::checkBox(const SourceFile& t, const QString& sec, const QString& key,
                                             int parts)
{
    const auto value = t.doc.value(sec, key);
    const int line = lineOf(t, sec, key);
    if (!value) {
        report(t.path, line, QStringLiteral("%1 is missing; the object is not drawn").arg(key));
        return std::nullopt;
    }
    const Fields f(*value);
    if (f.size() < parts) {
        report(t.path, line, QStringLiteral("%1 has %2 parts, needs %3 (x,y%4)")
                                 .arg(key).arg(f.size()).arg(parts).arg(parts == 4 ? ",w,h" : ""));
        return std::nullopt;
    }
    for (int i = 0; i < parts; ++i)
        if (!f.number(i)) {
            report(t.path, line, QStringLiteral("%1: %2 is not a number").arg(key, q(f[i])));
            return std::nullopt;
        }
    if (parts < 4)
        return Fields::Box{*f.number(0), *f.number(1), 0, 0};
    const Fields::Box box = *f.box();
    if (box.w == 0 || box.h == 0)
        report(t.path, line, QStringLiteral("%1: the box has no width or height").arg(key));
    else if (box.w < 0 || box.h < 0)
        report(t.path, line, QStringLiteral("%1: the box has a negative width or height; x,y is meant to be "
                                            "its top-left corner").arg(key));
    else if (pageW_ > 0 && (box.x < 0 || box.y < 0 || box.x + box.w > pageW_ || box.y + box.h > pageH_))
        report(t.path, line, QStringLiteral("%1: the box %2 reaches outside the page (%3 x %4)")
                                 .arg(key, *value).arg(pageW_).arg(pageH_));
    return box;
}

void Checker::checkColour(const SourceFile& t, const QString& sec, const QString& key, bool required,
                          const QString& whatIfMissing)
{
    const auto value = t.doc.value(sec, key);
    if (!value) {
        if (required)
            report(t.path, lineOf(t, sec), QStringLiteral("%1 is missing; %2").arg(key, whatIfMissing));
        return;
    }
    if (!parseColour(*value))
        report(t.path, lineOf(t, sec, key),
               QStringLiteral("%1: %2 is not a colour number (0 to 16777215, or &H...)%3")
                   .arg(key, q(*value), required ? QStringLiteral("; ") + whatIfMissing : QString()));
}

void Checker::checkRows(const SourceFile& t, const QString& sec, bool fixed)
{
    const int maxRows = fixed ? kMaxFixedRows : kMaxTextRows;
    if (!t.doc.value(sec, u"shura1"))
        report(t.path, lineOf(t, sec), QStringLiteral("the text has no row shura1; only its box is drawn"));
    for (int k = 1;; ++k) {
        const QString key = QStringLiteral("shura%1").arg(k);
        const auto row = t.doc.value(sec, key);
        if (!row)
            break;
        const int line = lineOf(t, sec, key);
        if (k > maxRows) {
            report(t.path, line, QStringLiteral("rows from %1 on are not drawn (at most %2)").arg(key).arg(maxRows));
            break;
        }
        const Fields f(*row);
        if (f.size() < 8) {
            report(t.path, line, QStringLiteral("%1 has %2 parts, needs 8 "
                                                "(colour,font,size,bold,charset,offset,align,angle)")
                                     .arg(key).arg(f.size()));
            continue;
        }
        if (!parseColour(f[0]))
            report(t.path, line, QStringLiteral("%1: colour %2 is not a colour number").arg(key, q(f[0])));
        static const QList<std::pair<int, const char*>> numbers = {
            {2, "size"}, {4, "charset"}, {5, "offset"}, {7, "angle"}};
        for (const auto& [i, what] : numbers)
            if (!f.number(i))
                report(t.path, line, QStringLiteral("%1: %2 %3 is not a number").arg(key, QLatin1String(what), q(f[i])));
        if (!kAlignWords.contains(f[6]))
            report(t.path, line, QStringLiteral("%1: align %2 is none of right, left, center, full").arg(key, q(f[6])));
        else if (fixed && f[6] == u"full")
            report(t.path, line, QStringLiteral("%1: align \"full\" is for editable texts only; a fixed text's row "
                                                "is drawn where the previous output ended").arg(key));
        if (fixed && !t.doc.value(sec, QStringLiteral("txt%1").arg(k)))
            report(t.path, line, QStringLiteral("%1 has no text: txt%2 is missing").arg(key).arg(k));
    }
}

void Checker::checkDatabaseTitle(const SourceFile& t, const QString& sec, const QString& key,
                                 QStringView table, const QString& title)
{
    const QString id = table.toString() + u'\n' + title;
    if (!lookups_.contains(id))
        lookups_.insert(id, fetchImageBytes(database_, table, title).error);
    const QString failure = lookups_.value(id);
    if (failure.isEmpty())
        return;
    const QString db = QFileInfo(database_.path).fileName();
    if (failure == missingPictureMessage(database_, table, title))
        report(t.path, lineOf(t, sec, key), QStringLiteral("%1 %2 is not in table %3 of the image database %4; "
                                                            "the page stops drawing here")
                                                 .arg(key, q(title), table.toString(), db));
    else
        report(t.path, lineOf(t, sec, key), QStringLiteral("%1 %2: the image database %3 fails: %4")
                                                 .arg(key, q(title), db, failure));
}

void Checker::checkPictureFile(const QString& file, int line, const QString& name, const QString& where)
{
    if (!QFileInfo::exists(dir_ + QStringLiteral("/temppic/") + name))
        report(file, line, QStringLiteral("picture file temppic/%1 is missing%2").arg(name, where));
}

void Checker::checkTemplate(const SourceFile& t, const QString& name, QHash<QString, QString>& idOwners)
{
    // Identifier.
    if (const auto id = t.doc.value(u"templateid", u"id")) {
        const int line = lineOf(t, QStringLiteral("templateid"), QStringLiteral("id"));
        if (id->size() != kIdentifierLength)
            report(t.path, line, QStringLiteral("identifier %1 is not three characters; its stored versions "
                                                "cannot be told apart from other templates'").arg(q(*id)));
        else if (idOwners.contains(*id))
            report(t.path, line, QStringLiteral("identifier %1 is also the one of %2; both templates share "
                                                "their stored versions").arg(q(*id), idOwners.value(*id)));
        else
            idOwners.insert(*id, name);
    } else {
        report(t.path, lineOf(t, QStringLiteral("templateid")),
               QStringLiteral("[templateid] id is missing; the template's versions cannot be stored"));
    }

    // Paper.
    pageW_ = pageH_ = 0;
    if (const auto size = t.doc.value(u"paper", u"size")) {
        const Fields f(*size);
        if (f.size() < 2 || !f.number(0) || !f.number(1) || *f.number(0) <= 0 || *f.number(1) <= 0)
            report(t.path, lineOf(t, QStringLiteral("paper"), QStringLiteral("size")),
                   QStringLiteral("size %1 is not width,height in twips").arg(q(*size)));
        else if (std::max(*f.number(0), *f.number(1)) > kLargestPageTwips)
            report(t.path, lineOf(t, QStringLiteral("paper"), QStringLiteral("size")),
                   QStringLiteral("size %1 is larger than the %2 twips a side a page may have; the page is not drawn")
                       .arg(q(*size))
                       .arg(kLargestPageTwips));
        else
            pageW_ = *f.number(0), pageH_ = *f.number(1);
    } else {
        report(t.path, lineOf(t, QStringLiteral("paper")), QStringLiteral("[paper] size is missing; the page has no size"));
    }
    // Only "ltr" in small letters turns the page; every other word leaves it right to left.
    if (const auto align = t.doc.value(u"paper", u"align"); align && *align != u"ltr" && *align != u"rtl")
        report(t.path, lineOf(t, QStringLiteral("paper"), QStringLiteral("align")),
               QStringLiteral("align %1 is neither ltr nor rtl; the page is right to left").arg(q(*align)));
    const auto colourEdit = t.doc.value(u"paper", u"coloredit");
    if (!colourEdit)
        report(t.path, lineOf(t, QStringLiteral("paper")), QStringLiteral("[paper] coloredit (true or false) is missing"));
    else if (colourEdit->compare(u"true", Qt::CaseInsensitive) && colourEdit->compare(u"false", Qt::CaseInsensitive))
        report(t.path, lineOf(t, QStringLiteral("paper"), QStringLiteral("coloredit")),
               QStringLiteral("coloredit %1 is neither true nor false").arg(q(*colourEdit)));

    // The object walk, as the page driver does it.
    int n = 1;
    for (;; ++n) {
        const QString sec = QStringLiteral("object%1").arg(n);
        const auto type = t.doc.value(sec, u"objtype");
        if (!type)
            break;
        if (n > kMaxObjects) {
            report(t.path, lineOf(t, sec), QStringLiteral("objects from %1 on are not drawn (at most %2)").arg(sec).arg(kMaxObjects));
            return;
        }
        const int typeLine = lineOf(t, sec, QStringLiteral("objtype"));
        if (!kTypeWords.contains(*type)) {
            const auto near = std::find_if(kTypeWords.begin(), kTypeWords.end(), [&](const QString& w) {
                return w.compare(*type, Qt::CaseInsensitive) == 0;
            });
            report(t.path, typeLine,
                   near != kTypeWords.end()
                       ? QStringLiteral("unknown objtype %1 (did you mean %2? type words are case-sensitive); "
                                        "the object is not drawn").arg(q(*type), q(*near))
                       : QStringLiteral("unknown objtype %1; the object is not drawn").arg(q(*type)));
            continue;
        }
        if (*type == u"circle")
            checkBox(t, sec, QStringLiteral("circdim"), 4);
        else if (*type == u"picture" || *type == u"fixpicture")
            checkBox(t, sec, QStringLiteral("picdim"), 4);
        else if (*type == u"koteret")
            checkBox(t, sec, QStringLiteral("picdim"), 2);
        else
            checkBox(t, sec, QStringLiteral("objdim"), 4);

        const bool drawnPolygon = *type == u"polygon" || *type == u"triangle";
        const QString shape = *type == u"polygon" ? QStringLiteral("star") : QStringLiteral("triangle");
        checkColour(t, sec, QStringLiteral("FILLCOLOR"), drawnPolygon,
                    QStringLiteral("the %1 is not drawn").arg(shape));
        if (const auto border = t.doc.value(sec, u"border")) {
            const Fields f(*border);
            if (f.size() < 2 || !parseColour(f[0]) || !f.number(1))
                report(t.path, lineOf(t, sec, QStringLiteral("border")),
                       QStringLiteral("border %1 is not colour,width").arg(q(*border)));
        }
        if (drawnPolygon) {
            const auto param = t.doc.value(sec, u"polyparam");
            const int line = lineOf(t, sec, QStringLiteral("polyparam"));
            const Fields f(param.value_or(QString()));
            if (!param) {
                report(t.path, line, QStringLiteral("polyparam is missing; the %1 is not drawn").arg(shape));
            } else if (*type == u"polygon") {
                const auto points = f.number(0);
                if (f.size() < 2 || !points || !f.number(1))
                    report(t.path, line, QStringLiteral("polyparam %1 is not points,ratio; the star is not drawn").arg(q(*param)));
                else if (*points != std::floor(*points) || *points < 1 || *points > kMaxStarPoints)
                    report(t.path, line, QStringLiteral("polyparam: %1 points is not a whole number from 1 to %2; "
                                                        "the star is not drawn").arg(q(f[0])).arg(kMaxStarPoints));
            } else {
                const auto p = f.number(0);
                const double cut = p ? (*p < 3 ? *p + 2 : *p - 2) : 0;
                if (!p || *p != std::floor(*p) || cut < 1 || cut > 4)
                    report(t.path, line, QStringLiteral("polyparam %1 names no corner (1 to 4); the triangle is not drawn").arg(q(*param)));
            }
        }
        if (*type == u"text" || *type == u"fixtext")
            checkRows(t, sec, *type == u"fixtext");
        if (*type == u"koteret") {
            // Only "true" in small letters shows the colour button.
            if (const auto button = t.doc.value(sec, u"showbot"); button && *button != u"true" && *button != u"false")
                report(t.path, lineOf(t, sec, QStringLiteral("showbot")),
                       QStringLiteral("showbot %1 is neither true nor false; the headline colour button stays hidden")
                           .arg(q(*button)));
            if (const auto logo = t.doc.value(sec, u"type"))
                checkDatabaseTitle(t, sec, QStringLiteral("type"), kLogoTable, *logo);
            else
                report(t.path, lineOf(t, sec), QStringLiteral("the headline has no type (its logo's title)"));
        }
        if (*type == u"fixpicture") {
            const auto pic = t.doc.value(sec, u"picname");
            if (!pic)
                report(t.path, lineOf(t, sec), QStringLiteral("picname is missing; the picture is not drawn"));
            else if (pic->indexOf(u'.') >= 1) // a file name; a plain title comes from the database
                checkPictureFile(t.path, lineOf(t, sec, QStringLiteral("picname")), *pic, QString());
            else
                checkDatabaseTitle(t, sec, QStringLiteral("picname"), kStockPictureTable, *pic);
        }
    }

    // Sections the walk never reaches: after a gap.
    static const QRegularExpression objectSection(QStringLiteral("^object(\\d+)$"),
                                                  QRegularExpression::CaseInsensitiveOption);
    const QList<QString> names = t.doc.sectionNames();
    const QList<int> lines = t.doc.headerLines();
    int hiddenFirst = 0, hiddenLine = 0, hiddenCount = 0;
    for (qsizetype i = 0; i < names.size(); ++i) {
        const auto m = objectSection.match(names[i]);
        if (!m.hasMatch() || m.captured(1).toInt() <= n)
            continue;
        ++hiddenCount;
        if (hiddenFirst == 0 || m.captured(1).toInt() < hiddenFirst)
            hiddenFirst = m.captured(1).toInt(), hiddenLine = lines[i];
    }
    if (hiddenCount > 0 && n <= kMaxObjects) {
        const QString gap = QStringLiteral("object%1").arg(n);
        report(t.path, hiddenLine,
               QStringLiteral("object%1 %2 never drawn: %3 %4, and a gap in the numbering ends the object list")
                   .arg(hiddenFirst)
                   .arg(hiddenCount > 1 ? QStringLiteral("and %1 later objects are").arg(hiddenCount - 1)
                                        : QStringLiteral("is"))
                   .arg(gap, t.doc.sectionLine(gap) ? QStringLiteral("has no objtype") : QStringLiteral("is missing")));
    }
}

void Checker::checkTextStore(const SourceFile& s, const QStringList& ids, bool onlyThose)
{
    if (const auto lang = s.doc.value(u"interface", u"lang"))
        if (*lang != u"hebrew" && !QFileInfo::exists(dir_ + QStringLiteral("/language/") + *lang + QStringLiteral(".lng")))
            report(s.path, lineOf(s, QStringLiteral("interface"), QStringLiteral("lang")),
                   QStringLiteral("language %1 has no file language/%1.lng; Hebrew is used").arg(*lang));
    if (const auto quality = s.doc.value(u"interface", u"jpgcompress")) {
        const auto v = parseNumber(*quality);
        if (!v || *v != std::floor(*v) || *v < 1 || *v > 100)
            report(s.path, lineOf(s, QStringLiteral("interface"), QStringLiteral("jpgcompress")),
                   QStringLiteral("jpgcompress %1 is not a JPEG quality from 1 to 100").arg(q(*quality)));
    }

    static const QRegularExpression versionSection(QStringLiteral("^tav(.*)girsa(\\d+)$"),
                                                   QRegularExpression::CaseInsensitiveOption);
    struct Stored {
        int line = 0;
        bool marked = false; // txt0 present
    };
    QMap<QString, QMap<int, Stored>> versions;
    const QList<QString> names = s.doc.sectionNames();
    const QList<int> lines = s.doc.headerLines();
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (!names[i].startsWith(u"tav", Qt::CaseInsensitive))
            continue;
        const auto m = versionSection.match(names[i]);
        if (!m.hasMatch()) {
            report(s.path, lines[i], QStringLiteral("section [%1] is not tav + identifier + girsa + number").arg(names[i]));
            continue;
        }
        const QString id = m.captured(1);
        if (onlyThose && !ids.contains(id))
            continue;
        if (id.size() != kIdentifierLength) {
            report(s.path, lines[i], QStringLiteral("section [%1]: identifier %2 is not three characters")
                                         .arg(names[i], q(id)));
            continue;
        }
        if (s.doc.sectionLine(names[i]) != lines[i])
            continue; // a repeated section: the first one wins
        versions[id][m.captured(2).toInt()] = {lines[i], s.doc.value(names[i], u"txt0").has_value()};
        if (!onlyThose && !ids.contains(id))
            report(s.path, lines[i], QStringLiteral("section [%1]: no template has the identifier %2").arg(names[i], q(id)));

        // Pictures of the version's frames.
        for (int k = 1; k <= kMaxObjects; ++k)
            if (const auto pic = s.doc.value(names[i], QStringLiteral("pic%1").arg(k)))
                if (*pic != u"nopic" && !pic->contains(u'\\') && !pic->isEmpty())
                    checkPictureFile(s.path, lineOf(s, names[i], QStringLiteral("pic%1").arg(k)), *pic,
                                     QStringLiteral(" (version %1 of template %2)").arg(m.captured(2), id));
        // Row formats the drawer cannot read fall back to the template's.
        for (int k = 0; k <= kMaxObjects; ++k) {
            const QString key = QStringLiteral("col%1").arg(k);
            const auto formats = s.doc.value(names[i], key);
            if (!formats)
                continue;
            const QStringList rows = formats->split(u'~');
            for (qsizetype r = 0; r < rows.size(); ++r)
                if (!rows[r].isEmpty() && !RowFormat::parse(rows[r]))
                    report(s.path, lineOf(s, names[i], key),
                           QStringLiteral("%1: row %2 format %3 is not colour,font,size,bold,charset; "
                                          "the row is drawn in the template's format")
                               .arg(key).arg(r + 1).arg(q(rows[r])));
        }
    }
    for (auto it = versions.cbegin(); it != versions.cend(); ++it) {
        // Reachable: consecutive from 1 while marked "txt0", at most ten.
        int reach = 1;
        while (reach <= kMaxCountedVersions && it->contains(reach) && it->value(reach).marked)
            ++reach;
        for (auto v = it->cbegin(); v != it->cend(); ++v) {
            if (v.key() < reach)
                continue;
            QString why;
            if (v.key() > kMaxCountedVersions)
                why = QStringLiteral("only versions 1 to %1 are counted").arg(kMaxCountedVersions);
            else if (v.key() == reach && !v->marked)
                why = QStringLiteral("it has no txt0=ok");
            else if (!it->contains(reach))
                why = QStringLiteral("version %1 is missing").arg(reach);
            else
                why = QStringLiteral("version %1 has no txt0=ok").arg(reach);
            report(s.path, v->line, QStringLiteral("version %1 of template %2 cannot be reached: %3")
                                        .arg(v.key()).arg(it.key(), why));
        }
    }
}

void Checker::checkLanguage(const SourceFile& l)
{
    // Walks the lines itself: the buffer rule needs each entry's line.
    QString section;
    bool first = false;
    int used = 0;
    bool cut = false;
    QSet<QString> seen;
    for (qsizetype i = 0; i < l.lines.size(); ++i) {
        const QString text = decodeAnsi(l.lines[i]).trimmed();
        if (text.isEmpty())
            continue;
        const int line = int(i) + 1;
        if (text.startsWith(u'[')) {
            section = text.mid(1, text.indexOf(u']') - 1).trimmed();
            first = !seen.contains(section.toLower());
            seen.insert(section.toLower());
            used = 0;
            cut = false;
            if (!kWindows.contains(section, Qt::CaseInsensitive) && section.compare(kMessages, Qt::CaseInsensitive))
                report(l.path, line, QStringLiteral("section [%1] names no window (%2) and is not [%3]")
                                         .arg(section, kWindows.join(u", "), kMessages));
            continue;
        }
        if (!first || section.isEmpty() || text.startsWith(u';'))
            continue;
        if (section.compare(kMessages, Qt::CaseInsensitive) == 0) {
            // Single texts, each looked up by its key: no buffer, no widget.
            if (!text.contains(u'='))
                report(l.path, line, QStringLiteral("%1 is not key=value").arg(q(text)));
            continue;
        }
        // Each entry takes its characters and a NUL; the last NUL ends the list.
        used += int(text.size()) + 1;
        if (!cut && used > kLanguageBuffer - 1) {
            cut = true;
            report(l.path, line, QStringLiteral("section [%1] is longer than the %2 characters a window reads; "
                                                "this entry and the ones after it are not applied")
                                     .arg(section).arg(kLanguageBuffer));
        }
        const qsizetype eq = text.indexOf(u'=');
        if (eq < 0 || !text.first(eq).contains(u'.'))
            report(l.path, line, QStringLiteral("%1 is not widget.Property=value").arg(q(text)));
    }
}

} // namespace

CheckOutcome checkProgramFolder(const QString& programDir, const QStringList& names, Edition edition)
{
    CheckOutcome out;
    const QString dir = QDir::cleanPath(programDir);
    if (!QFileInfo(dir + QStringLiteral("/templates")).isDir()) {
        out.error = QStringLiteral("%1 holds no templates folder").arg(dir);
        return out;
    }
    const QStringList all = listTemplates(dir);
    for (const QString& name : names)
        if (!all.contains(name)) {
            out.error = QStringLiteral("there is no template %1 in %2/templates").arg(q(name), dir);
            return out;
        }
    Checker c(dir, edition);
    QHash<QString, QString> idOwners;
    // A template checked on its own still shares its stored versions with
    // any other template of the folder that has its identifier.
    for (const QString& other : all) {
        if (names.isEmpty() || names.contains(other))
            continue;
        if (const auto id = c.identifierOf(dir + QStringLiteral("/templates/") + other + QStringLiteral(".ini")))
            idOwners.insert(*id, other);
    }
    QStringList ids;
    for (const QString& name : names.isEmpty() ? all : names) {
        const auto t = c.load(dir + QStringLiteral("/templates/") + name + QStringLiteral(".ini"));
        if (!t)
            continue;
        c.checkTemplate(*t, name, idOwners);
        ids << t->doc.value(u"templateid", u"id").value_or(QString());
    }
    const QString store = dir + QStringLiteral("/templates/textdata.txt");
    if (QFileInfo::exists(store))
        if (const auto s = c.load(store))
            c.checkTextStore(*s, ids, !names.isEmpty());
    const auto languages = QDir(dir + QStringLiteral("/language")).entryList({QStringLiteral("*.lng")}, QDir::Files, QDir::Name);
    for (const QString& file : languages)
        if (const auto l = c.load(dir + QStringLiteral("/language/") + file))
            c.checkLanguage(*l);

    out.problems = c.problems;
    std::stable_sort(out.problems.begin(), out.problems.end(), [](const CheckProblem& a, const CheckProblem& b) {
        return a.file != b.file ? a.file < b.file : a.line < b.line;
    });
    return out;
}

int runTemplateCheck(const QStringList& args, const QString& defaultProgramDir, Edition edition)
{
    QTextStream out(stdout), err(stderr);
    QString dir = defaultProgramDir;
    QStringList names;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == u"--check")
            continue;
        if (a == u"--program-dir" || a == u"--edition") {
            if (i + 1 >= args.size()) {
                err << "Error: " << a << " needs a value (see --help)" << Qt::endl;
                return 2;
            }
            const QString v = args[++i];
            if (a == u"--program-dir")
                dir = v;
            else if (v == u"main" || v == u"sibling")
                edition = v == u"main" ? Edition::Main : Edition::Sibling;
            else {
                err << "Error: --edition is main or sibling, not \"" << v << "\"" << Qt::endl;
                return 2;
            }
        } else if (a.startsWith(u'-')) {
            err << "Error: " << a << " does not go with --check (see --help)" << Qt::endl;
            return 2;
        } else {
            names << a;
        }
    }
    const CheckOutcome outcome = checkProgramFolder(dir, names, edition);
    if (!outcome.error.isEmpty()) {
        err << "Error: " << outcome.error << Qt::endl;
        return 2;
    }
    for (const CheckProblem& p : outcome.problems)
        out << p.file << ':' << p.line << ": " << p.message << '\n';
    out.flush();
    if (outcome.problems.isEmpty())
        return 0;
    err << outcome.problems.size() << (outcome.problems.size() == 1 ? " problem" : " problems") << " found" << Qt::endl;
    return 1;
}

} // namespace nuvela
