#include "app/mergejob.h"

#include "app/mergetable.h"
#include "render/drawpage.h"
#include "render/pagesetup.h"
#include "render/imagedb/picture_decode.h"
#include "render/pictures.h"
#include "store/jpeg.h"
#include "store/numbers.h"
#include "store/outputfile.h"
#include "store/templates.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImageReader>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QThread>
#include <QThreadPool>

#include <atomic>
#include <cerrno>
#include <new>

#include <unistd.h>

namespace nuvela {

namespace {

// A worker's decoded pictures: the logos and stock pictures every card
// shares stay, the guests' own photos come and go.
constexpr qint64 kWorkerPictureBytes = 16 * 1024 * 1024;
// The progress line is redrawn at most this often.
constexpr int kProgressMs = 250;

enum class Role { Text, Formats, Picture, Colour, Version, StoreMarker, Naming };

struct Column {
    Role role = Role::Naming;
    int object = 0;
    QString key; ///< the text store key it replaces
};

/// A row made ready for drawing, or the reason it is skipped.
struct Card {
    int number = 0, line = 0;
    int version = 1;
    QHash<QString, QString> values; ///< text store keys of the version replaced
    QList<std::pair<QString, QString>> pictures; ///< files to check after drawing, and as the table names them
    QString output;
    QString problem;
};

/// One drawing place: a store, a page state and a canvas of its own.
struct Worker {
    PageState state;
    KeyStore store;
    PageSetup setup;
    Surface canvas;
    Worker(const RenderRequest& r)
        : store(r.programDir, state), setup(store, state, r.edition), canvas(r.scale)
    {
        setup.session().pictures.setMaxBytes(kWorkerPictureBytes);
        // Every card is drawn from the files as the batch found them.
        store.files().holdFilesAsRead();
    }
};

Column classify(const QString& name)
{
    static const QRegularExpression indexed(QStringLiteral("^(txt|col|pic)(\\d{1,3})$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QString lower = name.toLower();
    if (lower == u"cotarcolor")
        return {Role::Colour, 0, QStringLiteral("cotarcolor")};
    if (lower == u"version")
        return {Role::Version, 0, {}};
    const auto m = indexed.match(name);
    if (!m.hasMatch())
        return {};
    const int n = m.captured(2).toInt();
    const QString kind = m.captured(1).toLower();
    // txt0 marks a stored version and col0 may come with it: store sections
    // given as a table carry them, and they replace nothing.
    if (n == 0)
        return {kind == u"pic" ? Role::Naming : Role::StoreMarker, 0, {}};
    return {kind == u"txt" ? Role::Text : kind == u"col" ? Role::Formats : Role::Picture, n, kind + QString::number(n)};
}

/// Why a column of the page cannot be used on this template, or "". A
/// column that names nothing is a typo unless -o names files by it or its
/// name starts with "#" (a note of the user's own).
QString unusable(const Column& c, const QString& name, const QStringList& named, const QHash<int, QString>& objects)
{
    const QString type = objects.value(c.object);
    switch (c.role) {
    case Role::Text:
    case Role::Formats:
        if (type == u"text" || type == u"koteret")
            return {};
        return QStringLiteral("the template has no text object %1").arg(c.object);
    case Role::Picture:
        return type == u"picture" ? QString() : QStringLiteral("the template has no picture object %1").arg(c.object);
    case Role::Colour:
        return objects.values().contains(QStringLiteral("koteret")) ? QString()
                                                                    : QStringLiteral("the template has no headline");
    case Role::Naming:
        if (name.startsWith(u'#') || named.contains(name.toLower()))
            return {};
        return QStringLiteral("it names nothing on the template (columns are txtN, picN, colN, cotarcolor "
                              "and version); name files by it with {%1} in -o, or start its name with \"#\" "
                              "to keep it as a note").arg(name);
    case Role::Version:
    case Role::StoreMarker:
        break;
    }
    return {};
}

/// A file name from a cell: no folders, nothing hidden, nothing unprintable,
/// nothing a memory stick's or another system's file names refuse.
QString nameSafe(QString value)
{
    for (QChar& c : value)
        if (QStringView(u"/\\:*?\"<>|").contains(c) || c.category() == QChar::Other_Control)
            c = u'_';
    value = value.trimmed();
    if (value.startsWith(u'.'))
        value[0] = u'_';
    return value;
}

/// The column {name} stands for: its name in any letter case, also a
/// note's ("#name").
qsizetype columnIndex(const QStringList& columns, const QString& name)
{
    for (qsizetype i = 0; i < columns.size(); ++i) {
        const QStringView column = columns[i].startsWith(u'#') ? QStringView(columns[i]).sliced(1) : QStringView(columns[i]);
        if (column.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString fill(const QString& pattern, const QStringList& columns, const MergeRow& row)
{
    static const QRegularExpression placeholder(QStringLiteral("\\{([^{}]*)\\}"));
    QString out;
    qsizetype at = 0;
    for (auto it = placeholder.globalMatch(pattern); it.hasNext();) {
        const auto m = it.next();
        out += pattern.mid(at, m.capturedStart() - at);
        const QString name = m.captured(1);
        if (name.compare(u"row", Qt::CaseInsensitive) == 0) {
            out += QString::number(row.number);
        } else {
            const QString value = nameSafe(row.cells.value(columnIndex(columns, name)));
            out += value.isEmpty() ? QStringLiteral("row%1").arg(row.number) : value;
        }
        at = m.capturedEnd();
    }
    return out + pattern.mid(at);
}

QStringList placeholders(const QString& pattern)
{
    static const QRegularExpression placeholder(QStringLiteral("\\{([^{}]*)\\}"));
    QStringList names;
    for (auto it = placeholder.globalMatch(pattern); it.hasNext();)
        names.append(it.next().captured(1).toLower());
    return names;
}

QHash<int, QString> objectTypes(KeyStore& store)
{
    QHash<int, QString> types;
    for (int n = 1; n <= kMaxObjects; ++n) {
        const QString type = store.get(StoreMode::Get, QStringLiteral("object%1").arg(n), u"objtype");
        if (type == kFailed)
            break;
        types.insert(n, type);
    }
    return types;
}

/// A picture cell as the page finds it: a file beside the table, a full
/// path, or a name in temppic/; "" when nothing has that name.
QString locatePicture(const QString& value, const QString& tableDir, const QString& programDir)
{
    if (QFileInfo(value).isAbsolute())
        return QFileInfo::exists(value) ? value : QString();
    if (const QFileInfo beside(QDir(tableDir).filePath(value)); beside.exists())
        return beside.absoluteFilePath();
    if (isPlainPictureName(value) && QFileInfo::exists(programDir + QStringLiteral("/temppic/") + value))
        return value;
    return {};
}

/// Why a picture file the page cannot draw is refused, in words that say
/// what to do about it ("cannot be shown" alone left a user guessing).
QString cannotShow(const QString& path, const QString& value)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("the picture \"%1\" cannot be read: %2").arg(value, file.errorString());
    if (file.size() == 0)
        return QStringLiteral("the picture \"%1\" is an empty file").arg(value);
    return QStringLiteral("the picture \"%1\" cannot be shown: it is not a BMP, GIF, JPEG or PNG picture, or it is damaged")
        .arg(value);
}

/// Why the picture file at path cannot be drawn, or "". Only the header is
/// read (a FIFO is never opened), so a damaged file may still fail later.
QString pictureProblem(const QString& path, const QString& value)
{
    if (!QFileInfo(path).isFile())
        return QStringLiteral("the picture \"%1\" is not a file (it is a folder, a device or a FIFO)").arg(value);
    QImageReader reader(path);
    if (!reader.canRead())
        return cannotShow(path, value);
    const QSize size = pictureSize(reader);
    if (size.width() > kMaxPictureSide || size.height() > kMaxPictureSide
        || qint64(size.width()) * size.height() > kMaxPicturePixels)
        return QStringLiteral("the picture \"%1\" is too large (%2 x %3 pixels; at most %4 million and %5 a side)")
            .arg(value).arg(size.width()).arg(size.height()).arg(kMaxPicturePixels / 1000000).arg(kMaxPictureSide);
    return {};
}

/// Why a picture of the card will not decode, or "": asked before the card's
/// page is begun in a PDF, which cannot take a page back. Decoded small (a
/// JPEG at an eighth), each file once.
QString undecodable(const Card& card, QSet<QString>& decoded)
{
    for (const auto& [path, value] : card.pictures) {
        if (decoded.contains(path))
            continue;
        if (!decodePictureFile(path, QSize(1, 1)).ok())
            return cannotShow(path, value);
        decoded.insert(path);
    }
    return {};
}

class Reporter {
public:
    explicit Reporter(const MergeReport& r) : report_(r) {}

    void line(const QString& text)
    {
        clearProgress();
        write(text + u'\n');
    }
    void progress(int done, int total, double seconds)
    {
        if (!report_.terminal)
            return;
        const double rate = seconds > 0 ? done / seconds : 0;
        const QString left = rate > 0 ? QStringLiteral(", %1 s left").arg(int((total - done) / rate + 0.5)) : QString();
        write(QStringLiteral("\r%1/%2 cards, %3 per second%4\x1b[K").arg(done).arg(total).arg(rate, 0, 'f', 1).arg(left));
        shown_ = true;
    }
    void clearProgress()
    {
        if (shown_)
            write(QStringLiteral("\r\x1b[K"));
        shown_ = false;
    }

private:
    void write(const QString& text)
    {
        const QByteArray bytes = text.toUtf8();
        for (qsizetype at = 0; at < bytes.size();) {
            const ssize_t n = ::write(report_.fd, bytes.constData() + at, size_t(bytes.size() - at));
            if (n <= 0)
                return;
            at += n;
        }
    }
    MergeReport report_;
    bool shown_ = false;
};

/// Draws one card on a worker; "" or why the row is skipped.
QString drawCard(Worker& w, const Card& card)
{
    w.store.overrideTextSection(versionSection(w.state.templateId, card.version), card.values);
    w.state.version = card.version;
    clearModified(w.state);
    removeOverlays(w.state);
    PageContext page = w.setup.context(w.canvas);
    page.wait = [](int) {}; // a batch does not wait for files being written
    const PageOutcome outcome = DrawPage(page);
    if (outcome.end != PageEnd::Complete)
        return outcome.error;
    for (const auto& [path, value] : card.pictures)
        if (w.setup.session().pictures.hasFailed(PictureCache::versionKey(path)))
            return cannotShow(path, value);
    return {};
}

QString makeCard(Worker& w, const Card& card, OutputFormat format, int quality)
{
    try {
        // A PDF of its own per card: the page as vectors into a document of
        // one page. The canvas lets go of the writer before the writer goes.
        QBuffer pdf;
        std::optional<QPdfWriter> writer;
        const auto letGo = qScopeGuard([&] { w.canvas.endVector(); });
        if (format == OutputFormat::Pdf) {
            pdf.open(QIODevice::WriteOnly);
            writer.emplace(&pdf);
            preparePdfWriter(*writer, QFileInfo(card.output).completeBaseName());
            w.canvas.setVectorTarget(&*writer);
        }
        if (QString why = drawCard(w, card); !why.isEmpty())
            return why;
        if (format == OutputFormat::Pdf && (!w.canvas.endVector() || w.canvas.vectorCleared() || pdf.data().isEmpty()))
            return QStringLiteral("Cannot draw the card as a PDF document.");
        const QString folder = QFileInfo(card.output).absolutePath();
        errno = 0;
        if (!QDir().mkpath(folder))
            return errno == EEXIST || errno == ENOTDIR
                       ? QStringLiteral("Cannot make the folder %1: a file is in the way on that path.").arg(folder)
                       : outputFailure(folder, errno, {});
        if (format == OutputFormat::Pdf)
            return writeOutputFile(card.output, pdf.data()).error;
        return writePicture(w.canvas, format, card.output, quality);
    } catch (const std::bad_alloc&) {
        return QStringLiteral("there is not enough memory to draw this card");
    }
}

} // namespace

int runMerge(const RenderRequest& request, const MergeReport& report)
{
    Reporter say(report);
    const auto fail = [&](const QString& why) {
        say.line(QStringLiteral("Error: ") + why);
        return int(kMergeFailed);
    };
    const OutputFormat format = outputFormatOf(request.output);
    if (format == OutputFormat::Unknown)
        return fail(QStringLiteral("cannot tell the picture format of \"%1\"; use .png, .bmp, .jpg, .jpeg or .pdf")
                        .arg(request.output));
    const QStringList named = placeholders(request.output);
    const bool onePdf = format == OutputFormat::Pdf && named.isEmpty();
    if (!onePdf && named.isEmpty())
        return fail(QStringLiteral("-o \"%1\" names one file for every card; put {row} or a {column} in it, "
                                   "or write one .pdf").arg(request.output));

    QString error;
    const auto table = readMergeTable(request.merge, &error);
    if (!table)
        return fail(error);
    Worker main(request);
    if (QString why = main.setup.openTemplate(request.tavnit); !why.isEmpty())
        return fail(why);
    if (QString why = main.setup.chooseVersion(request.version); !why.isEmpty())
        return fail(why);
    const QHash<int, QString> objects = objectTypes(main.store);
    for (const QString& name : named)
        if (name != u"row" && columnIndex(table->columns, name) < 0)
            return fail(QStringLiteral("-o names {%1}, which is no column of the table").arg(name));

    // Store sections of other templates (and the settings) are no cards.
    const QString ownSections = QStringLiteral("tav%1girsa").arg(main.state.templateId);
    const qsizetype sectionColumn = table->columns.first() == u"section" ? 0 : -1;
    QList<Column> columns;
    QHash<QString, int> seen;
    for (const QString& name : table->columns) {
        // Two columns of one name would leave a row only one of their cells.
        if (const auto it = seen.constFind(name.toLower()); !name.isEmpty() && it != seen.cend())
            return fail(QStringLiteral("The column \"%1\" of the table comes twice (columns %2 and %3); "
                                       "rename or remove one").arg(name).arg(*it + 1).arg(columns.size() + 1));
        seen.insert(name.toLower(), int(columns.size()));
        columns.append(classify(name));
    }
    const QString tableDir = QFileInfo(request.merge).absolutePath();

    QList<Card> cards;
    QHash<QString, std::pair<int, QString>> outputs; // the row and its file
    QSet<int> checkedColumns;
    for (const MergeRow& row : table->rows) {
        Card card{row.number, row.line, request.version, {}, {}, {}, {}};
        const auto problem = [&](const QString& why) {
            if (card.problem.isEmpty())
                card.problem = why;
        };
        if (sectionColumn == 0) {
            const QString section = row.cells.value(0);
            if (section.startsWith(ownSections, Qt::CaseInsensitive)) {
                if (const auto v = parseWhole(QStringView(section).sliced(ownSections.size())); v && *v >= 1)
                    card.version = *v;
            } else if (section.startsWith(u"tav", Qt::CaseInsensitive) || section.compare(u"interface", Qt::CaseInsensitive) == 0) {
                continue;
            }
        }
        for (qsizetype i = table->columns.size(); i < row.cells.size(); ++i)
            if (!row.cells[i].trimmed().isEmpty())
                problem(QStringLiteral("a cell beyond the header's %1 columns (an unnamed column)").arg(table->columns.size()));
        for (qsizetype i = 0; i < table->columns.size(); ++i) {
            const QString value = row.cells.value(i).trimmed();
            const Column& c = columns[i];
            if (value.isEmpty() || (i == sectionColumn))
                continue; // an empty cell keeps the version's own value
            // A column is checked at its first value: a column left empty
            // (or only filled in rows of other templates) harms nobody.
            if (!checkedColumns.contains(int(i))) {
                checkedColumns.insert(int(i));
                if (const QString why = unusable(c, table->columns[i], named, objects); !why.isEmpty())
                    return fail(QStringLiteral("The column \"%1\" of the table: %2").arg(table->columns[i], why));
            }
            switch (c.role) {
            case Role::Text: {
                QString text = row.cells.value(i);
                text.replace(QStringLiteral("\r\n"), QStringLiteral("~")).replace(u'\n', u'~').replace(u'\r', u'~');
                card.values.insert(c.key, text);
                break;
            }
            case Role::Formats:
                card.values.insert(c.key, value);
                break;
            case Role::Picture:
                if (value == u"nopic") {
                    card.values.insert(c.key, value);
                } else if (const QString found = locatePicture(value, tableDir, request.programDir); found.isEmpty()) {
                    problem(QStringLiteral("the picture \"%1\" is neither beside the table nor in temppic/").arg(value));
                } else {
                    const QString path = picturePath(request.programDir, found);
                    problem(pictureProblem(path, value));
                    card.values.insert(c.key, found);
                    card.pictures.append({path, value});
                }
                break;
            case Role::Colour:
                if (!parseColour(value))
                    problem(QStringLiteral("cotarcolor \"%1\" is no colour number").arg(value));
                card.values.insert(c.key, value);
                break;
            case Role::StoreMarker:
                break;
            case Role::Version: {
                // Whole numbers only, as --version takes them: "1.5" is no
                // version to round to another.
                const auto v = parseWhole(value);
                if (!v || *v < 1 || *parseNumber(value) != *v)
                    problem(QStringLiteral("version \"%1\" is no version number").arg(value));
                else
                    card.version = *v;
                break;
            }
            case Role::Naming:
                break;
            }
        }
        if (card.version > 1
            && main.store.get(StoreMode::GetTxt, versionSection(main.state.templateId, card.version), u"txt0") == kFailed)
            problem(QStringLiteral("the template has no stored version %1").arg(card.version));
        if (!onePdf) {
            card.output = fill(request.output, table->columns, row);
            // Names apart only in letter case are one file on a memory stick.
            const QString key = QFileInfo(card.output).absoluteFilePath().toCaseFolded();
            if (const auto it = outputs.constFind(key); it != outputs.cend())
                problem(it->second == card.output
                            ? QStringLiteral("its file \"%1\" is row %2's file too").arg(card.output).arg(it->first)
                            : QStringLiteral("its file \"%1\" and row %2's \"%3\" differ only in letter case, "
                                             "which many disks do not tell apart").arg(card.output).arg(it->first).arg(it->second));
            else
                outputs.insert(key, {row.number, card.output});
        }
        cards.append(card);
    }
    if (cards.isEmpty())
        return fail(QStringLiteral("The table \"%1\" has no rows.").arg(request.merge));

    // A card never replaces what the run reads: the table, a row's picture.
    QHash<QString, int> inputs{{QFileInfo(request.merge).canonicalFilePath(), 0}};
    for (const Card& card : cards)
        for (const auto& picture : card.pictures)
            inputs.insert(QFileInfo(picture.first).canonicalFilePath(), card.number);
    // Nor a picture of temppic/, which versions and templates draw from.
    const QString pictureFolder = QFileInfo(request.programDir + QStringLiteral("/temppic")).canonicalFilePath();
    const auto replacedInput = [&](const QString& output) -> QString {
        const QString target = QFileInfo(output).canonicalFilePath();
        if (!target.isEmpty() && QFileInfo(target).path() == pictureFolder)
            return QStringLiteral("its file \"%1\" is a picture of the program folder's temppic/").arg(output);
        const auto it = inputs.constFind(target);
        if (it == inputs.cend() || it.key().isEmpty())
            return {};
        return *it == 0 ? QStringLiteral("its file \"%1\" is the table itself").arg(output)
                        : QStringLiteral("its file \"%1\" is the picture of row %2").arg(output).arg(*it);
    };
    if (onePdf && !replacedInput(request.output).isEmpty())
        return fail(QStringLiteral("-o \"%1\" is the table itself; choose another name").arg(request.output));
    for (Card& card : cards)
        if (const QString why = replacedInput(card.output); card.problem.isEmpty() && !card.output.isEmpty())
            card.problem = why;

    const int quality = request.quality.value_or(jpegQuality(main.store));
    std::vector<QString> problems(cards.size());
    for (qsizetype i = 0; i < cards.size(); ++i)
        problems[i] = cards[i].problem;
    std::atomic<int> done{0};
    QElapsedTimer clock;
    clock.start();

    if (onePdf) {
        // One document, its pages in row order: drawn here, one after another.
        // A folder, FIFO or protected file in its place is refused before
        // all that drawing.
        if (const OutputKind place = examineOutput(request.output).kind;
            place == OutputKind::NotRegular || place == OutputKind::ReadOnly)
            return fail(writeOutputFile(request.output, QByteArray()).error);
        bool drawn = true, anyPage = false;
        const StoreResult written = writeOutputFile(request.output, [&](QIODevice& file) {
            QPdfWriter writer(&file);
            preparePdfWriter(writer, QFileInfo(request.merge).completeBaseName());
            main.canvas.setVectorTarget(&writer);
            qint64 shown = 0;
            QSet<QString> decoded;
            for (qsizetype i = 0; i < cards.size(); ++i) {
                if (problems[i].isEmpty()) {
                    try {
                        problems[i] = undecodable(cards[i], decoded);
                        if (problems[i].isEmpty())
                            problems[i] = drawCard(main, cards[i]);
                    } catch (const std::bad_alloc&) {
                        problems[i] = QStringLiteral("there is not enough memory to draw this card");
                    }
                }
                ++done;
                if (clock.elapsed() - shown >= kProgressMs) {
                    shown = clock.elapsed();
                    say.progress(done, int(cards.size()), clock.elapsed() / 1000.0);
                }
            }
            drawn = main.canvas.endVector() || !main.canvas.hasPage();
            anyPage = std::count(problems.begin(), problems.end(), QString()) > 0;
            // Without a page there is no document: nothing replaces the file.
            return drawn && anyPage;
        });
        if (!drawn)
            return fail(QStringLiteral("Cannot draw the cards as a PDF document."));
        if (anyPage && !written.ok())
            return fail(written.error);
    } else {
        // Workers of the global pool: Qt's own picture scaling then runs in
        // the worker instead of waiting for helper threads.
        QThreadPool* pool = QThreadPool::globalInstance();
        // Workers beyond the cores draw no faster, yet each holds a page of
        // its own: --jobs 256 ran out of memory where two workers fit.
        const int cores = std::max(1, QThread::idealThreadCount());
        const int jobs = request.jobs > 0 ? std::min(request.jobs, cores) : cores;
        pool->setMaxThreadCount(jobs);
        std::atomic<qsizetype> next{0};
        try {
            for (int j = 0; j < std::min<qsizetype>(jobs, cards.size()); ++j) {
                pool->start([&] {
                    std::optional<Worker> w;
                    QString unready;
                    try {
                        w.emplace(request);
                        unready = w->setup.openTemplate(request.tavnit);
                    } catch (const std::bad_alloc&) {
                        unready = QStringLiteral("there is not enough memory to draw this card");
                    }
                    for (qsizetype i; (i = next++) < cards.size(); ++done) {
                        if (problems[i].isEmpty())
                            problems[i] = unready.isEmpty() ? makeCard(*w, cards[i], format, quality) : unready;
                    }
                });
            }
            while (!pool->waitForDone(kProgressMs))
                say.progress(done, int(cards.size()), clock.elapsed() / 1000.0);
        } catch (const std::bad_alloc&) {
            // The workers that did start use the cards until they are done:
            // leaving before them would pull the table from under them.
            pool->waitForDone();
        }
        // Cards no worker took (none could start) are not made.
        for (qsizetype i = next; i < cards.size(); ++i)
            if (problems[i].isEmpty())
                problems[i] = QStringLiteral("there is not enough memory to draw this card");
    }
    say.progress(done, int(cards.size()), clock.elapsed() / 1000.0);
    say.clearProgress();

    int skipped = 0;
    for (qsizetype i = 0; i < cards.size(); ++i) {
        if (problems[i].isEmpty())
            continue;
        ++skipped;
        say.line(QStringLiteral("Error: row %1 (line %2): %3").arg(cards[i].number).arg(cards[i].line).arg(problems[i]));
    }
    const int made = int(cards.size()) - skipped;
    if (report.terminal || skipped > 0)
        say.line(QStringLiteral("%1 of %2 cards made in %3 s%4")
                     .arg(made).arg(cards.size()).arg(clock.elapsed() / 1000.0, 0, 'f', 1)
                     .arg(skipped == 1   ? QStringLiteral(", 1 row skipped")
                          : skipped ? QStringLiteral(", %1 rows skipped").arg(skipped)
                                    : QString()));
    if (made == 0)
        return kMergeFailed;
    return skipped ? kMergeRowsSkipped : kMergeAllMade;
}

} // namespace nuvela
