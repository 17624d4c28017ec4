#include "windows/common/dialogs.h"

#include "windows/common/uitext.h"

#include <QColorDialog>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QFileDialog>
#include <QFontDialog>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QDateTime>
#include <QHeaderView>
#include <QLocale>
#include <QPrintDialog>
#include <QSplitter>
#include <QTreeView>
#include <QScreen>
#include <QPrinter>
#include <QRegularExpression>

#include <algorithm>
#include <limits>

namespace nuvela {

QString FileFilter::extension() const
{
    for (const QString& pattern : patterns) {
        if (pattern.startsWith(u"*.") && pattern.size() > 2 && !pattern.mid(2).contains(u'*')
            && !pattern.mid(2).contains(u'?'))
            return pattern.mid(2);
    }
    return {};
}

std::vector<FileFilter> parseFileFilter(QStringView oldForm)
{
    // The description usually repeats its patterns in parentheses; Qt adds
    // its own list, so the repetition goes.
    static const QRegularExpression trailingPatterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    std::vector<FileFilter> filters;
    const auto pieces = oldForm.split(u'|');
    for (qsizetype i = 0; i + 1 < pieces.size(); i += 2) {
        FileFilter filter;
        filter.description = pieces[i].toString().remove(trailingPatterns).trimmed();
        const auto patterns = pieces[i + 1].split(u';', Qt::SkipEmptyParts);
        for (QStringView pattern : patterns) {
            if (!pattern.trimmed().isEmpty())
                filter.patterns.append(pattern.trimmed().toString());
        }
        if (filter.patterns.isEmpty())
            continue;
        if (filter.description.isEmpty())
            filter.description = filter.patterns.join(u' ');
        filters.push_back(filter);
    }
    return filters;
}

QStringList qtFileFilters(const std::vector<FileFilter>& filters)
{
    QStringList qt;
    for (const FileFilter& filter : filters)
        qt.append(filter.description + QStringLiteral(" (") + filter.patterns.join(u' ') + u')');
    return qt;
}

// ---- Qt dialogs

namespace {
// Qt's own file dialog opens too small to show a name, its size and its date
// whole; it opens at this size (within the screen) and then at the user's.
constexpr QSize kFileDialogSize(860, 540);

// Its columns open at widths that cut "18 KiB" and a date short; they get
// the width of the longest such text, the name the rest.
void widenColumns(QFileDialog& dialog)
{
    auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!view || view->header()->count() < 4)
        return;
    const QFontMetrics metrics(view->font());
    const int pad = 3 * metrics.averageCharWidth();
    const QString widest[] = {QStringLiteral("1023.9 KiB"), QStringLiteral("Folder JPEG Image"),
                              QLocale().toString(QDateTime(QDate(2000, 12, 28), QTime(23, 59)), QLocale::ShortFormat)};
    QHeaderView* header = view->header();
    for (int column = 1; column <= 3; ++column)
        header->resizeSection(column, metrics.horizontalAdvance(widest[column - 1]) + pad);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    if (auto* splitter = dialog.findChild<QSplitter*>(QStringLiteral("splitter")); splitter && splitter->count() == 2)
        splitter->setSizes({metrics.horizontalAdvance(QStringLiteral("Computer")) + 6 * pad, dialog.width()});
}

QString runFileDialog(QFileDialog& dialog)
{
    static QSize kept = kFileDialogSize;
    QSize size = kept;
    if (const QScreen* screen = dialog.screen())
        size = size.boundedTo(screen->availableSize() * 0.9);
    dialog.resize(size);
    widenColumns(dialog);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    kept = dialog.size();
    return accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().first() : QString();
}
} // namespace

namespace {
/// Where a file dialog opens: the folder the last file was chosen in, else
/// the user's pictures, else his home folder.
QString startFolder(const QString& last)
{
    if (!last.isEmpty() && QFileInfo(last).isDir())
        return last;
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return QFileInfo(pictures).isDir() ? pictures : QDir::homePath();
}
} // namespace

std::optional<QString> QtDialogs::openFile(QWidget* parent, const QString& title, QStringView filter)
{
    static QString folder;
    folder = startFolder(folder);
    QFileDialog dialog(parent, title, folder, qtFileFilters(parseFileFilter(filter)).join(QStringLiteral(";;")));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    const QString path = runFileDialog(dialog);
    if (path.isEmpty())
        return std::nullopt;
    folder = QFileInfo(path).absolutePath();
    return path;
}

std::optional<SaveChoice> QtDialogs::saveFile(QWidget* parent, const QString& title,
                                              QStringView filter, const QString& suggestion)
{
    const auto filters = parseFileFilter(filter);
    const QStringList qt = qtFileFilters(filters);
    // Without a suggestion Qt would open in the working folder, the program's
    // own: a card saved under a bare name would land among the templates.
    static QString folder;
    folder = startFolder(folder);
    QFileDialog dialog(parent, title, suggestion.isEmpty() ? folder : suggestion, qt.join(QStringLiteral(";;")));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The caller asks before replacing a file, under the name it really gets
    // (the dialog would ask before an extension is added).
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!qt.isEmpty())
        dialog.selectNameFilter(qt.first());
    QString path = runFileDialog(dialog);
    if (path.isEmpty())
        return std::nullopt;
    // Qt reads a typed name holding '"' as a list of quoted names and keeps
    // a piece of it (a"b.jpg became b.jpg); a save takes the one name typed.
    const auto* typedName = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    const QString typed = typedName ? typedName->text() : QString();
    if (typed.contains(u'"') && !(typed.size() > 2 && typed.startsWith(u'"') && typed.indexOf(u'"', 1) == typed.size() - 1))
        path = QDir::cleanPath(dialog.directory().absoluteFilePath(typed));
    folder = QFileInfo(path).absolutePath();
    const QString selected = dialog.selectedNameFilter();
    SaveChoice choice;
    choice.path = path;
    choice.filterIndex = std::max(0, int(qt.indexOf(selected)));
    if (choice.filterIndex < int(filters.size()))
        choice.extension = filters[choice.filterIndex].extension();
    return choice;
}

std::optional<ColourNumber> QtDialogs::chooseColour(QWidget* parent, ColourNumber initial)
{
    const QColor start = resolveColour(initial, parent ? parent->palette() : QPalette())
                             .value_or(QColor(Qt::black));
    const QColor chosen = QColorDialog::getColor(start, parent);
    if (!chosen.isValid())
        return std::nullopt;
    return colourNumber(chosen);
}

bool QtDialogs::print(QWidget* parent, QPrinter& printer)
{
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

namespace {

/// Keeps Esc and the window's close button from answering a message box,
/// which would otherwise take them for its No.
class ButtonsOnly : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Close) {
            event->ignore();
            return true;
        }
        return event->type() == QEvent::KeyPress
            && static_cast<QKeyEvent*>(event)->matches(QKeySequence::Cancel);
    }
};

} // namespace

namespace {
bool holdsRightToLeft(QStringView text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        return c.direction() == QChar::DirR || c.direction() == QChar::DirAL;
    });
}

/// Each line of a right-to-left message that starts with a path set left to
/// right reads from the right all the same: a box takes a line's direction
/// from its first letter, and the path's mark is one.
QString anchoredFromTheRight(const QString& text)
{
    QStringList lines = text.split(u'\n');
    for (QString& line : lines) {
        if (line.startsWith(kLeftToRightMark) && holdsRightToLeft(line))
            line.prepend(QChar(0x200F)); // right-to-left mark
    }
    return lines.join(u'\n');
}
} // namespace

QString inReadingOrder(const QString& message, Qt::LayoutDirection direction)
{
    if (direction != Qt::RightToLeft)
        return message;
    const QString text = anchoredFromTheRight(message);
    if (!text.isRightToLeft())
        return text;
    static const QRegularExpression leadingMark(QStringLiteral("^\\s*([?!.])\\s*(.*?)\\s*$"),
                                                QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression spacedMark(QStringLiteral("^\\s*(.*?)\\s+([?!.])\\s*$"),
                                               QRegularExpression::DotMatchesEverythingOption);
    if (const auto m = leadingMark.match(text); m.hasMatch() && !m.captured(2).isEmpty())
        return m.captured(2) + m.captured(1);
    if (const auto m = spacedMark.match(text); m.hasMatch())
        return m.captured(1) + m.captured(2);
    return text;
}

namespace {
Qt::LayoutDirection boxDirection(const QWidget* parent)
{
    return parent ? parent->layoutDirection() : QGuiApplication::layoutDirection();
}

/// The message as the box shows it: in its reading order, and cut with "…"
/// where a huge text (a language file's, a path's) would push the box and
/// its buttons past the screen's edge.
void setMessage(QMessageBox& box, const QWidget* parent, const QString& text)
{
    const QScreen* screen = parent && parent->screen() ? parent->screen() : QGuiApplication::primaryScreen();
    const QRect room = screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
    const QFontMetrics metrics(box.font());
    // Narrower than the box's label ever is, and half the screen's height:
    // whatever fits this leaves the title, the buttons and margins room.
    const QRect column(0, 0, std::clamp(room.width() / 2, 160, 420), std::numeric_limits<int>::max() / 2);
    const int height = std::max(metrics.height() * 3, room.height() / 2);
    const auto fits = [&](const QString& t) {
        return metrics.boundingRect(column, Qt::TextWrapAnywhere, t).height() <= height;
    };
    QString shown = text;
    if (!fits(text)) {
        qsizetype lo = 0, hi = text.size(); // the longest start that fits
        while (lo < hi) {
            const qsizetype mid = (lo + hi + 1) / 2;
            if (fits(text.first(mid) + u'…'))
                lo = mid;
            else
                hi = mid - 1;
        }
        if (lo > 0 && text[lo - 1].isHighSurrogate())
            --lo;
        shown = text.first(lo).trimmed() + u'…';
    }
    box.setText(inReadingOrder(shown, boxDirection(parent)));
}
} // namespace

bool QtDialogs::ask(QWidget* parent, const QString& title, const QString& text, Ask kind)
{
    QMessageBox box(kind == Ask::Warning ? QMessageBox::Critical : QMessageBox::Question, title, QString(),
                    QMessageBox::Yes | QMessageBox::No, parent);
    setMessage(box, parent, text);
    // Enter pressed by habit must not delete what cannot be brought back.
    box.setDefaultButton(kind == Ask::Warning ? QMessageBox::No : QMessageBox::Yes);
    ButtonsOnly buttonsOnly;
    if (kind == Ask::NoDiscardsWork)
        box.installEventFilter(&buttonsOnly);
    return box.exec() == QMessageBox::Yes;
}

void QtDialogs::tell(QWidget* parent, const QString& title, const QString& text, bool error)
{
    const auto icon = error ? QMessageBox::Critical : QMessageBox::Information;
    QMessageBox box(icon, title, QString(), QMessageBox::Ok, parent);
    setMessage(box, parent, text);
    box.exec();
}

std::optional<QFont> QtDialogs::chooseFont(QWidget* parent, const QFont& initial)
{
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, initial, parent);
    if (!ok)
        return std::nullopt;
    return chosen;
}

// ---- Scripted dialogs

void ScriptedDialogs::answerOpen(const QString& path)
{
    answers_.push_back({ Kind::Open, OpenAnswer { path } });
}
void ScriptedDialogs::answerSave(const QString& path, int filterIndex)
{
    answers_.push_back({ Kind::Save, SaveAnswer { path, filterIndex } });
}
void ScriptedDialogs::answerColour(ColourNumber colour)
{
    answers_.push_back({ Kind::Colour, ColourAnswer { colour } });
}
void ScriptedDialogs::answerPrint(const QString& outputFile)
{
    answers_.push_back({ Kind::Print, PrintAnswer { outputFile } });
}
void ScriptedDialogs::answerFont(const QFont& font)
{
    answers_.push_back({ Kind::Font, FontAnswer { font } });
}

void ScriptedDialogs::answerAsk(bool yes)
{
    answers_.push_back({ Kind::Ask, AskAnswer { yes } });
}
void ScriptedDialogs::cancel(Kind kind) { answers_.push_back({ kind, Cancel {} }); }

std::optional<ScriptedDialogs::Answer> ScriptedDialogs::take(Kind kind)
{
    static const char* const names[] = { "open", "save", "colour", "print", "question", "message", "font" };
    if (answers_.empty()) {
        unexpected_.append(QStringLiteral("%1 dialog without an answer").arg(names[int(kind)]));
        return std::nullopt;
    }
    Answer answer = answers_.front();
    answers_.pop_front();
    if (answer.kind != kind) {
        unexpected_.append(QStringLiteral("%1 dialog answered as a %2 dialog")
                               .arg(names[int(kind)], names[int(answer.kind)]));
        return std::nullopt;
    }
    if (std::holds_alternative<Cancel>(answer.value))
        return std::nullopt;
    return answer;
}

std::optional<QString> ScriptedDialogs::openFile(QWidget*, const QString& title, QStringView filter)
{
    requests_.push_back({ Kind::Open, title, {}, qtFileFilters(parseFileFilter(filter)), {}, 0, {} });
    const auto answer = take(Kind::Open);
    if (!answer)
        return std::nullopt;
    return std::get<OpenAnswer>(answer->value).path;
}

std::optional<SaveChoice> ScriptedDialogs::saveFile(QWidget*, const QString& title,
                                                    QStringView filter, const QString& suggestion)
{
    const auto filters = parseFileFilter(filter);
    requests_.push_back({ Kind::Save, title, {}, qtFileFilters(filters), suggestion, 0, {} });
    const auto answer = take(Kind::Save);
    if (!answer)
        return std::nullopt;
    const auto& save = std::get<SaveAnswer>(answer->value);
    SaveChoice choice { save.path, save.filterIndex, {} };
    if (save.filterIndex >= 0 && save.filterIndex < int(filters.size()))
        choice.extension = filters[save.filterIndex].extension();
    return choice;
}

std::optional<ColourNumber> ScriptedDialogs::chooseColour(QWidget*, ColourNumber initial)
{
    requests_.push_back({ Kind::Colour, {}, {}, {}, {}, initial, {} });
    const auto answer = take(Kind::Colour);
    if (!answer)
        return std::nullopt;
    return std::get<ColourAnswer>(answer->value).colour;
}

bool ScriptedDialogs::print(QWidget*, QPrinter& printer)
{
    requests_.push_back({ Kind::Print, {}, {}, {}, {}, 0, {} });
    const auto answer = take(Kind::Print);
    if (!answer)
        return false;
    const QString output = std::get<PrintAnswer>(answer->value).outputFile;
    if (!output.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(output);
    }
    return true;
}

bool ScriptedDialogs::ask(QWidget*, const QString& title, const QString& text, Ask kind)
{
    requests_.push_back({ Kind::Ask, title, text, {}, {}, 0, {}, kind == Ask::Warning, kind });
    const auto answer = take(Kind::Ask);
    return answer && std::get<AskAnswer>(answer->value).yes;
}

void ScriptedDialogs::tell(QWidget*, const QString& title, const QString& text, bool error)
{
    requests_.push_back({ Kind::Tell, title, text, {}, {}, 0, {}, error });
}

std::optional<QFont> ScriptedDialogs::chooseFont(QWidget*, const QFont& initial)
{
    requests_.push_back({ Kind::Font, {}, {}, {}, {}, 0, initial });
    const auto answer = take(Kind::Font);
    if (!answer)
        return std::nullopt;
    return std::get<FontAnswer>(answer->value).font;
}

} // namespace nuvela
