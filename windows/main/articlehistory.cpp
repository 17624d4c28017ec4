// The main window's undo and redo: the shortcuts, the page view's context
// menu and the names of the steps in the interface language. What a step
// holds and how the marker follows the history lives in PageHistory.
#include "windows/main/articlewindow.h"

#include "windows/common/program.h"
#include "windows/common/uitext.h"
#include "windows/main/pagehistory.h"
#include "windows/main/pageview.h"

#include <QGuiApplication>
#include <QMenu>
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
    return inOwnDirection(row);
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
    StepKind kind{};
    int n = 0;
    if (!(undoing ? history_->nextUndo(kind, n) : history_->nextRedo(kind, n)))
        return {};
    QString what;
    switch (kind) {
    case StepKind::Text:
        // By its words: an object's number means nothing to the user.
        what = fillIn(uiText(program_, u"steptext", QStringLiteral("הטקסט \"%1\"")),
                      {stepTextName(program_.state.liveTexts.value(n))});
        break;
    case StepKind::Picture:
        what = uiText(program_, u"steppicture", QStringLiteral("תמונה של אובייקט %1")).arg(n);
        break;
    case StepKind::RemovedPicture:
        what = uiText(program_, u"stepnopic", QStringLiteral("הסרת התמונה של אובייקט %1")).arg(n);
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
    QAction* u = menu.addAction(history_->canUndo() ? stepName(true) : uiText(program_, u"undonone", QStringLiteral("בטל")),
                                this, &ArticleWindow::undo);
    u->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    u->setEnabled(history_->canUndo());
    QAction* r = menu.addAction(history_->canRedo() ? stepName(false) : uiText(program_, u"redonone", QStringLiteral("בצע שוב")),
                                this, &ArticleWindow::redo);
    r->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    r->setEnabled(history_->canRedo());
}

} // namespace nuvela
