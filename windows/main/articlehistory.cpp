// The main window's undo and redo: the shortcuts, the page view's context
// menu and the names of the steps in the interface language. What a step
// holds and how the marker follows the history lives in PageHistory.
#include "windows/main/articlewindow.h"

#include "windows/common/program.h"
#include "windows/common/uitext.h"
#include "windows/main/pagehistory.h"
#include "windows/main/pageview.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QRegularExpression>
#include <QShortcut>

#include <ret/retainer.h>

namespace nuvela {

namespace {
// Signs of a text that an undo entry shows; a longer one is cut with "…".
constexpr qsizetype kStepTextSigns = 30;

/// An object's text as its undo entry names it: the first row that is not
/// blank, its spaces (justification) collapsed, cut to length.
QString stepTextName(const QString& liveText)
{
    QString row;
    for (const QString& r : liveText.split(u'~'))
        if (!(row = r.simplified()).isEmpty())
            break;
    if (row.size() > kStepTextSigns) {
        qsizetype cut = kStepTextSigns - 1;
        // Not between a letter and its points, nor inside a surrogate pair.
        while (cut > 0 && (row[cut].isLowSurrogate() || row[cut].category() == QChar::Mark_NonSpacing))
            --cut;
        row = row.first(cut).trimmed() + u'…';
    }
    return row.isEmpty() ? row : inOwnDirection(row);
}

/// A picture as its undo entry names it: the file the user chose, without
/// the counter the picture editor added to keep the framed copies apart
/// ("beach_2.jpg" from "beach.jpg"); "" for an empty frame.
QString stepPictureName(const QString& tag)
{
    if (tag.isEmpty() || tag == u"nopic")
        return {};
    const QFileInfo file(tag);
    QString name = file.completeBaseName();
    static const QRegularExpression counter(QStringLiteral("_[0-9]+$"));
    // Only a framed copy, named without a folder, has a counter: a photo
    // used from where it lies keeps its own name whole ("IMG_2024").
    if (file.fileName() == tag && tag.endsWith(u".jpg", Qt::CaseInsensitive))
        name.remove(counter);
    return name.isEmpty() ? QString() : inOwnDirection(name);
}

/// A menu entry shows "&" as a mnemonic: the user's words keep theirs.
QString menuEntry(QString text)
{
    return text.replace(u'&', QStringLiteral("&&"));
}

} // namespace

void ArticleWindow::wireHistory()
{
    history_ = std::make_unique<PageHistory>(program_.state, [this] {
        syncControls();
        if (program_.state.isModified())
            keepRecovery();
        viewpic();
    });
    const QKeySequence undoKeys[] = {QKeySequence(Qt::CTRL | Qt::Key_Z)};
    const QKeySequence redoKeys[] = {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
                                     QKeySequence(Qt::CTRL | Qt::Key_Y)};
    for (const QKeySequence& keys : undoKeys)
        connect(new QShortcut(keys, this), &QShortcut::activated, this, &ArticleWindow::undo);
    for (const QKeySequence& keys : redoKeys)
        connect(new QShortcut(keys, this), &QShortcut::activated, this, &ArticleWindow::redo);

    prev_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(prev_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        // A right-click on a picture frame removes its picture instead.
        if (const QWidget* hit = prev_->childAt(at); hit && hit->objectName() == u"gpic")
            return;
        QMenu menu(this);
        fillHistoryMenu(menu);
        menu.exec(prev_->mapToGlobal(at));
    });
}

void ArticleWindow::undo()
{
    // Behind the web pane the page is not the user's to change.
    if (history_->canUndo() && !frview_->isHidden())
        history_->undo();
}

void ArticleWindow::redo()
{
    if (history_->canRedo() && !frview_->isHidden())
        history_->redo();
}

QString ArticleWindow::stepName(bool undoing) const
{
    const std::optional<StepInfo> step = undoing ? history_->nextUndo() : history_->nextRedo();
    if (!step)
        return {};
    QString what;
    switch (step->kind) {
    case StepKind::Text: {
        // By its words: an object's number means nothing to the user. The
        // words the step writes, or those it cleared.
        QString name = stepTextName(step->after.text);
        if (name.isEmpty())
            name = stepTextName(step->before.text);
        what = fillIn(uiText(program_, u"steptext", QStringLiteral("הטקסט \"%1\"")), {name});
        break;
    }
    case StepKind::Picture:
        if (const QString name = stepPictureName(step->after.tag); !name.isEmpty())
            what = fillIn(uiText(program_, u"steppicture", QStringLiteral("התמונה \"%1\"")), {name});
        else
            what = uiText(program_, u"steppictureany", QStringLiteral("תמונה"));
        break;
    case StepKind::RemovedPicture:
        if (const QString name = stepPictureName(step->before.tag); !name.isEmpty())
            what = fillIn(uiText(program_, u"stepnopic", QStringLiteral("הסרת התמונה \"%1\"")), {name});
        else
            what = uiText(program_, u"stepnopicany", QStringLiteral("הסרת תמונה"));
        break;
    case StepKind::HeadlineColour:
        what = uiText(program_, u"stepcolour", QStringLiteral("צבע הכותרת"));
        break;
    }
    return undoing ? uiText(program_, u"undo", QStringLiteral("בטל: %1")).arg(what)
                   : uiText(program_, u"redo", QStringLiteral("בצע שוב: %1")).arg(what);
}

void ArticleWindow::fillHistoryMenu(QMenu& menu)
{
    // The menu reads in the interface language's direction, not in that of
    // the Hebrew-designed window it opens over.
    menu.setLayoutDirection(QGuiApplication::layoutDirection());
    QAction* u = menu.addAction(history_->canUndo() ? menuEntry(stepName(true)) : uiText(program_, u"undonone", QStringLiteral("בטל")),
                                this, &ArticleWindow::undo);
    u->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    u->setEnabled(history_->canUndo());
    QAction* r = menu.addAction(history_->canRedo() ? menuEntry(stepName(false)) : uiText(program_, u"redonone", QStringLiteral("בצע שוב")),
                                this, &ArticleWindow::redo);
    r->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    r->setEnabled(history_->canRedo());
}

} // namespace nuvela
