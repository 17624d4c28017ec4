#include "windows/main/articlewindow.h"

#include "canvas/colour.h"
#include "store/ansi.h"
#include "store/templates.h"
#include "store/versions.h"
#include "windows/common/buttonplus.h"
#include "windows/common/controls.h"
#include "windows/common/dialogs.h"
#include "windows/common/focusring.h"
#include "windows/common/icons.h"
#include "windows/common/panels.h"
#include "windows/common/program.h"
#include "windows/common/qttranslations.h"
#include "windows/common/uitext.h"
#include "windows/common/version.h"
#include "windows/common/webpane.h"
#include "windows/main/pagehistory.h"
#include "windows/main/pageview.h"
#include "windows/options/language.h"
#include "windows/options/scaling.h"
#include "windows/options/windowload.h"
#include "windows/output/picformwindow.h"
#include "windows/textedit/txteditwindow.h"

#include <QLockFile>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLabel>
#include <QListWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

#include <ret/retainer.h>

#include <new>

namespace nuvela {

namespace {

// The help sites of the two editions and the page each one answers with.
const QString kMainHelp = QStringLiteral("https://www.nuvela.example/");
const QString kMainHelpSuffix = QStringLiteral("helpdesk.html");
const QString kSiblingHelp = QStringLiteral("https://www.bolumen.example/");
const QString kSiblingHelpSuffix = QStringLiteral("?FAQ");

ButtonPlus* makeButton(QWidget* parent, const QString& name, const QString& caption, const QString& tip)
{
    auto* b = new ButtonPlus(caption, parent);
    b->setObjectName(name);
    b->setToolTip(tip);
    return b;
}

QCheckBox* makeCheck(QWidget* parent, const char* name, const QString& caption)
{
    auto* c = new QCheckBox(caption, parent);
    c->setObjectName(QString::fromLatin1(name));
    return c;
}

/// What the user reads when a page cannot be drawn or opened, in the
/// interface language: what failed and what to do. "%1" is the template,
/// "%2" the engine's own account (a language may leave it out: Hebrew does,
/// as it is English); further values are "%3" on: for a stopped page the
/// image database file and the title it was asked for, for a template that
/// cannot be opened the file at fault and why.
QString pageFailure(Program& program, QStringView key, const QString& tavnit, const QString& detail,
                    const QStringList& more = {})
{
    static const QHash<QStringView, QString> hebrew{
        {u"nopage", QStringLiteral("לא ניתן לצייר את העמוד: בתבנית \"%1\" אין גודל עמוד תקין. "
                                   "בחרו תבנית אחרת, או תקנו את size בקטע [paper] של התבנית.")},
        {u"pagestopped", QStringLiteral("העמוד של התבנית \"%1\" לא צויר: מאגר התמונות %3 חסר או פגום. "
                                        "בחרו תבנית אחרת, או התקינו מחדש את התוכנית כדי להחזיר את מאגר התמונות.")},
        {u"databasebusy", QStringLiteral("העמוד של התבנית \"%1\" לא צויר: תוכנית אחרת משנה כעת את מאגר התמונות %3. "
                                         "המתינו עד שתסיים, ובחרו שוב את התבנית.")},
        {u"picnotindb", QStringLiteral("העמוד של התבנית \"%1\" לא צויר: אין במאגר התמונות %3 לוגו או תמונה "
                                       "בשם \"%4\". בחרו תבנית אחרת, או תקנו בתבנית את שם התמונה.")},
        {u"picdamagedindb", QStringLiteral("העמוד של התבנית \"%1\" לא צויר: התמונה \"%4\" במאגר התמונות %3 "
                                           "פגומה. בחרו תבנית אחרת, או התקינו מחדש את התוכנית כדי להחזיר "
                                           "את מאגר התמונות.")},
        {u"nomemory", QStringLiteral("אין די זיכרון כדי לצייר את העמוד של התבנית \"%1\". "
                                     "סגרו תוכניות אחרות ונסו שוב.")},
        {u"notemplate", QStringLiteral("לא ניתן לפתוח את התבנית \"%1\": %3 בחרו תבנית אחרת, או תקנו את הקובץ.")},
        {u"noversion", QStringLiteral("הגירסה המבוקשת של התבנית \"%1\" אינה שמורה. בחרו גירסה אחרת.")},
    };
    return fillIn(uiText(program, key, hebrew.value(key)), QStringList{tavnit, detail} + more);
}

/// Which file keeps the template tavnit from opening and why, in the
/// interface language ("%3" of its message): the text store, checked
/// first as the opening does, or the template's own file.
QString unusableFile(Program& program, const QString& tavnit)
{
    KeyStore& store = program.store;
    for (const QString& path : {store.pathFor(StoreMode::GetTxt), templateFilePath(store.programDir(), tavnit)}) {
        const QFileInfo info(path);
        const QString named = leftToRight(QDir::toNativeSeparators(path));
        if (!info.exists() && path.endsWith(u".ini"))
            return fillIn(uiText(program, u"filemissing", QStringLiteral("הקובץ %1 אינו קיים.")), {named});
        if (info.exists() && !info.isFile())
            return fillIn(uiText(program, u"filenotregular",
                                 QStringLiteral("הנתיב %1 אינו קובץ רגיל אלא תיקייה, התקן או צינור.")), {named});
        if (info.exists() && !info.isReadable())
            return fillIn(uiText(program, u"fileunreadable", QStringLiteral("אין הרשאה לקרוא את הקובץ %1.")), {named});
        if (info.exists() && !store.files().read(path) && !store.files().refusal(path).isEmpty())
            return fillIn(uiText(program, u"filenottext",
                                 QStringLiteral("הקובץ %1 אינו קובץ טקסט שהתוכנית יכולה לקרוא: הוא גדול מדי, או "
                                                "שמור בקידוד UTF-16 במקום Windows-1255 (ANSI).")),
                          {named});
    }
    return {};
}

/// The message of a page stopped by the image database, by what failed.
QStringView stoppedPageKey(PageStop::Cause cause)
{
    switch (cause) {
    case PageStop::Cause::MissingPicture:
        return u"picnotindb";
    case PageStop::Cause::DamagedPicture:
        return u"picdamagedindb";
    case PageStop::Cause::Busy:
        return u"databasebusy";
    case PageStop::Cause::Database:
        break;
    }
    return u"pagestopped";
}

} // namespace

ArticleWindow::ArticleWindow(Program& program, QSize screen)
    : program_(program)
{
    setObjectName(QStringLiteral("article"));
    prepareWindow(this);
    buildWidgets();
    program_.beforeShutdown = [this] { return checksav(true); };
    load(screen);
}

ArticleWindow::~ArticleWindow()
{
    program_.beforeShutdown = nullptr;
    // Focus and selection move while the widgets go; that is no user
    // leaving the page, so no prompt and nothing discarded.
    web_->removeEventFilter(this);
    tavnit_->removeEventFilter(this);
    tavnit_->viewport()->removeEventFilter(this);
    disconnect(tavnit_, nullptr, this, nullptr);
}

void ArticleWindow::buildWidgets()
{
    // The gallery, at the right as Hebrew reads.
    title_ = makePanel(this, QStringLiteral("title"), QStringLiteral("     - תבנית"));
    title_->setToolTip(QStringLiteral("רשימת תבניות"));
    place(title_, 592, 8, 190, 300);
    tavnit_ = new WithFocusRing<QListWidget>(title_);
    tavnit_->setObjectName(QStringLiteral("tavnit"));
    place(tavnit_, 8, 32, 174, 260);
    tavnit_->viewport()->installEventFilter(this);
    tavnit_->installEventFilter(this);
    tavnit_->viewport()->setMouseTracking(true);
    // A template is chosen by selecting it (click, arrow keys, Space), not by
    // the gallery's current row, which Qt sets by itself when the gallery
    // takes the focus: the start page stays until the user chooses.
    connect(tavnit_, &QListWidget::itemSelectionChanged, this, [this] {
        if (!tavnit_->selectedItems().isEmpty())
            chooseTemplate(tavnit_->row(tavnit_->selectedItems().first()));
    });
    connect(tavnit_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        // Clicking the chosen template again rebuilds its page.
        if (pressedOnChosen_ && tavnit_->row(item) == tavnit_->currentRow()
            && program_.state.tavnit == item->text() && frview_->isVisible())
            chooseTemplate(tavnit_->row(item));
    });

    chedit_ = makeCheck(this, "chedit", QStringLiteral("הבלט אזורי עריכה"));
    setWidgetTag(chedit_, QStringLiteral("תבנית - "));
    place(chedit_, 592, 314, 190, 22);
    connect(chedit_, &QCheckBox::clicked, this, [this](bool on) { prev_->setHighlighted(on); });
    kotxt_ = makeCheck(this, "kotxt", QStringLiteral("טקסט לוגו"));
    place(kotxt_, 592, 338, 190, 22);
    kotxt_->hide();
    connect(kotxt_, &QCheckBox::clicked, this, &ArticleWindow::logoTextSwitched);
    coll_ = makeButton(this, QStringLiteral("Coll"), QStringLiteral("בחר את צבע הכותרת"), QString());
    place(coll_, 592, 362, 190, 28);
    coll_->hide();

    frversion_ = makePanel(this, QStringLiteral("Frversion"), QStringLiteral("גירסאות"));
    place(frversion_, 592, 396, 190, 120);
    scroll_ = new WithFocusRing<QScrollBar>(Qt::Horizontal, frversion_);
    scroll_->setObjectName(QStringLiteral("Scroll"));
    // A scroll bar takes no focus by default, which left the keyboard no way
    // to another version: Tab stops on it, and its arrow keys choose.
    scroll_->setFocusPolicy(Qt::StrongFocus);
    scroll_->setLayoutDirection(Qt::LeftToRight);
    // A scroll bar inverts its keys by default: Right would go to the previous version.
    scroll_->setInvertedControls(false);
    scroll_->setRange(1, 10);
    scroll_->setValue(1);
    place(scroll_, 8, 32, 174, 18);
    count1_ = new QLabel(frversion_);
    count1_->setObjectName(QStringLiteral("count1"));
    count1_->setAlignment(Qt::AlignCenter);
    setWidgetTag(count1_, QStringLiteral("גירסה - "));
    place(count1_, 8, 52, 174, 20);
    connect(scroll_, &QScrollBar::valueChanged, this, &ArticleWindow::versionChanged);
    connect(scroll_, &QScrollBar::sliderReleased, this, [this] { versionChanged(scroll_->value()); });
    savetxt_ = makeButton(frversion_, QStringLiteral("savetxt"), QStringLiteral("שמור כ"),
                          QStringLiteral("שמירת הנוסח הנכחי בגירסה חדשה"));
    setWidgetTag(savetxt_, QStringLiteral("?  האם לשמור את השינויים"));
    updttxt_ = makeButton(frversion_, QStringLiteral("updttxt"), QStringLiteral("שמור"),
                          QStringLiteral("עידכון הנוסח  בגירסה הנכחית"));
    deltext_ = makeButton(frversion_, QStringLiteral("deltext"), QStringLiteral("מחק"),
                          QStringLiteral("מחיקת הגירסה הנכחית"));
    setWidgetTag(deltext_, QStringLiteral(" האם למחוק את הגירסה הנכחית ?"));
    int x = 126;
    for (ButtonPlus* b : {savetxt_, updttxt_, deltext_}) {
        place(b, x, 78, 56, 32);
        b->setEnabled(false); // until there is something to save or delete
        x -= 59;
    }
    buildVersionPanel();

    showme_ = makeButton(this, QStringLiteral("showme"), QStringLiteral("הצג תמונה"),
                         QStringLiteral("צפה, הדפס, שמור קובץ"));
    proper_ = makeButton(this, QStringLiteral("proper"), QStringLiteral("הגדרות"), QStringLiteral("הגדרות"));
    cmdExit1_ = makeButton(this, QStringLiteral("cmdExit1"), QStringLiteral("יציאה"), QString());
    showme_->setPicture(glyphIcon(Glyph::Picture));
    showme_->setPictureAlignment(PictureAlignment::AboveCaption);
    proper_->setPicture(glyphIcon(Glyph::Options));
    proper_->setPictureAlignment(PictureAlignment::AboveCaption);
    cmdExit1_->setPicture(glyphIcon(Glyph::Exit));
    cmdExit1_->setPictureAlignment(PictureAlignment::AboveCaption);
    place(showme_, 720, 522, 62, 40);
    place(proper_, 656, 522, 62, 40);
    place(cmdExit1_, 592, 522, 62, 40);
    showme_->setEnabled(false); // until a page is drawn
    connect(showme_, &ButtonPlus::clicked, this, &ArticleWindow::showOutput);
    connect(proper_, &ButtonPlus::clicked, this, &ArticleWindow::showOptions);
    connect(cmdExit1_, &ButtonPlus::clicked, this, [this] { program_.shutdown(); });

    // The web pane and its buttons, with the page view over it.
    const char* tips[4] = {"דף הבית", "דף קודם", "דף הבא", "עזרה"};
    constexpr Glyph kNavGlyphs[4] = {Glyph::Home, Glyph::Back, Glyph::Forward, Glyph::Help};
    for (int i = 0; i < 4; ++i) {
        nav_[i] = makeButton(this, QStringLiteral("nav"), QString(), QString::fromUtf8(tips[i]));
        makeArrayElement(nav_[i], QStringLiteral("nav"), i);
        nav_[i]->setPicture(glyphIcon(kNavGlyphs[i]));
        nav_[i]->setPictureAlignment(PictureAlignment::AboveCaption);
        place(nav_[i], 8 + i * 38, 8, 34, 32);
        connect(nav_[i], &ButtonPlus::clicked, this, [this, i] { navigate(i); });
    }
    version_ = new QLabel(versionLabelText(), this);
    version_->setObjectName(QStringLiteral("version"));
    place(version_, 170, 14, 160, 20);
    web_ = new WithFocusRing<WebPane>(this);
    web_->setObjectName(QStringLiteral("Web"));
    place(web_, 8, 46, 576, 516);
    web_->installEventFilter(this);
    webFocus_ = web_->focusPolicy();
    // Back and forward only when the pane has somewhere to go.
    nav_[1]->setEnabled(false);
    nav_[2]->setEnabled(false);
    connect(web_, &QTextBrowser::backwardAvailable, nav_[1], &QWidget::setEnabled);
    connect(web_, &QTextBrowser::forwardAvailable, nav_[2], &QWidget::setEnabled);
    frview_ = makePanel(this, QStringLiteral("Frview"), QString(), false);
    place(frview_, 8, 46, 576, 516);
    prev_ = new PageView(frview_);
    place(prev_, 6, 6, 564, 504);
    connect(prev_, &PageView::textActivated, this, &ArticleWindow::editText);
    frview_->hide();
    frversion_->hide();

    place(this, 0, 0, 790, 570);
    wirePictureActions();
    wireHistory();
}

void ArticleWindow::load(QSize screen)
{
    screen_ = screen.isValid() ? screen : (this->screen() ? this->screen()->size() : kDesignScreen);
    program_.state.language = program_.store.get(StoreMode::GetTxt, u"interface", u"lang");
    setWindowTitle(program_.title());
    loadWindow(this, program_.dir(), program_.state.language, screen_);
    useQtTranslations(program_);
    tabRowsInReadingOrder();
    keepScaledSize();
    startCaption_ = title_->caption();
    // The start page follows the language, so it is shown once that is known.
    navigate(0);
    // The version follows whatever caption the language gave the window.
    setWindowTitle(windowTitle() + captionVersionSuffix());
    tavnit_->addItems(listTemplates(program_.dir()));
    tellUnlistableTemplates();
    {
        // No template is chosen at start, not even when the gallery takes
        // the focus: Down or Up then chooses the first.
        const QSignalBlocker block(tavnit_);
        tavnit_->QAbstractItemView::setCurrentIndex(QModelIndex());
    }
    updateCounter();
    QDir::setCurrent(program_.dir());
}

void ArticleWindow::tabRowsInReadingOrder()
{
    tabRowInReadingOrder({deltext_, updttxt_, savetxt_});
    tabRowInReadingOrder({cmdExit1_, proper_, showme_});
    tabRowInReadingOrder({nav_[0], nav_[1], nav_[2], nav_[3]});
}

PicformWindow& ArticleWindow::output()
{
    if (!output_)
        output_ = std::make_unique<PicformWindow>(program_, this);
    return *output_;
}

void ArticleWindow::viewpic()
{
    output(); // its loading adds the program's fonts before the first page
    PageContext page = program_.pages.context(program_.canvas);
    page.started = [] {
        // What waits to be painted is painted; the user's keys and clicks wait
        // for the page. Taken now, a second Down pressed while a template is
        // drawn moved the gallery's cursor in the middle of the first Down's
        // handling, which then lit and drew the first template again.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QApplication::setOverrideCursor(Qt::WaitCursor);
    };
    page.finished = [] { QApplication::restoreOverrideCursor(); };
    bool outOfMemory = false;
    try {
        lastOutcome_ = DrawPage(page);
    } catch (const std::bad_alloc&) {
        // A page beyond the machine's memory is reported; nothing is lost.
        if (QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
        program_.canvas.clear();
        outOfMemory = true;
        lastOutcome_ = {PageEnd::NoPage, QStringLiteral("There is not enough memory to draw this page."), {}};
    }
    if (lastOutcome_.end == PageEnd::Refused)
        return;
    if (!program_.state.isModified())
        versions_->remember(); // the page was drawn from the store
    if (lastOutcome_.end == PageEnd::Stopped)
        prev_->removeOverlays();
    prev_->showPage(program_.canvas.image());
    if (!program_.state.overlaysPlaced) {
        prev_->placeOverlays(program_.state,
                             prev_->overlayScale(program_.canvas.width(), program_.canvas.height()));
        program_.state.overlaysPlaced = true;
        chainTabOrder();
    }
    showme_->setEnabled(!program_.canvas.image().isNull());
    syncControls();
    if (lastOutcome_.end != PageEnd::Complete) {
        const QStringView key = outOfMemory ? u"nomemory"
            : lastOutcome_.end == PageEnd::Stopped ? stoppedPageKey(lastOutcome_.stop.cause) : u"nopage";
        const PageStop& stop = lastOutcome_.stop;
        showError(pageFailure(program_, key, program_.state.tavnit, lastOutcome_.error,
                              {leftToRight(QFileInfo(stop.database).fileName()), inOwnDirection(stop.title)}));
    }
}

void ArticleWindow::syncControls()
{
    const PageState& s = program_.state;
    kotxt_->setVisible(s.headline.kotxtVisible);
    kotxt_->setChecked(s.headline.kotxtChecked);
    coll_->setVisible(s.headline.collVisible);
    QPalette p = coll_->palette();
    const QColor headline = colourFromRef(s.headline.collColour);
    p.setColor(QPalette::Button, headline);
    // The caption stays readable on any headline colour, judged by how
    // bright it looks (a pure blue is dark, though its lightness is half).
    p.setColor(QPalette::ButtonText, qGray(headline.rgb()) < 128 ? Qt::white : Qt::black);
    coll_->setPalette(p);
    // The tags other windows read mirror the state; the state is the truth.
    setWidgetTag(title_, s.templateId);
    setWidgetTag(scroll_, s.modified);
    setWidgetTag(tavnit_, s.overlaysPlaced ? QStringLiteral("fin") : QString());
    setWidgetTag(kotxt_, s.headline.kotxtTag);
    // Saved or discarded: undoing back to here leaves nothing unsaved.
    if (!s.isModified() && !history_->isClean())
        history_->setClean();
    if (!s.isModified())
        dropRecovery();
    syncVersionButtons();
}

void ArticleWindow::editText(int n)
{
    TxteditWindow editor(program_, n, this, screen_);
    StepValue before = readStep(program_.state, StepKind::Text, n);
    connect(&editor, &TxteditWindow::applied, this, [this, n, &before] {
        history_->record(StepKind::Text, n, before);
        before = readStep(program_.state, StepKind::Text, n);
        markModified();
        viewpic();
    });
    editor.exec();
    // Back where the user was on the page.
    if (QLabel* overlay = prev_->textOverlay(n)) {
        activateWindow();
        overlay->setFocus();
    }
}

void ArticleWindow::chainTabOrder()
{
    // From the gallery Tab walks the page's objects in object-number order.
    QWidget* previous = tavnit_;
    for (QLabel* overlay : prev_->overlaysInOrder()) {
        setTabOrder(previous, overlay);
        previous = overlay;
    }
}

void ArticleWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Without a window manager nothing gives the window the focus.
    activateWindow();
    if (!frview_->isVisible())
        tavnit_->setFocus();
}

void ArticleWindow::set_scroll()
{
    program_.state.versionCount = countVersions(program_.store, program_.state);
    scroll_->setRange(1, program_.state.versionCount);
    // One version per step, so the thumb's size and place show the current
    // version among the stored ones.
    scroll_->setPageStep(1);
}

void ArticleWindow::del_misgarot()
{
    removeOverlays(program_.state);
    prev_->removeOverlays();
    coll_->hide();
}

void ArticleWindow::chooseTemplate(int row)
{
    // A keyboard choice skips the mouse-over prompt, so ask here too; a
    // failed save keeps the page that holds the changes.
    if (!checksav()) {
        const QSignalBlocker block(tavnit_);
        const auto items = tavnit_->findItems(program_.state.tavnit, Qt::MatchExactly);
        tavnit_->setCurrentRow(items.isEmpty() ? -1 : tavnit_->row(items.first()));
        return;
    }
    if (row < 0 || row >= tavnit_->count())
        return;
    if (web_->isBusy()) {
        const QSignalBlocker block(tavnit_);
        tavnit_->setCurrentRow(-1);
        return;
    }
    frview_->raise();
    program_.state.overlaysPlaced = false;
    prev_->clearPage();
    del_misgarot();
    history_->restart();
    kotxt_->hide();
    prev_->update();
    const QString name = tavnit_->item(row)->text();
    if (const QString failure = program_.pages.openTemplate(name); !failure.isEmpty()) {
        // The page before is gone, and with it whatever the version buttons
        // and the preview would act on: they must not reach a template the
        // gallery no longer shows as chosen. The failed name stays current,
        // so the arrow keys go on from it.
        program_.state.tavnit.clear();
        program_.state.templateId.clear();
        program_.state.headline = {};
        syncControls();
        showWebPane();
        showError(pageFailure(program_, u"notemplate", name, failure, {unusableFile(program_, name)}));
        return;
    }
    showTemplateCaption();
    {
        // A new template opens at its first version.
        const QSignalBlocker block(scroll_);
        scroll_->setValue(1);
    }
    set_scroll();
    updateCounter();
    frversion_->show();
    frview_->show();
    frview_->raise();
    // Tab passes the pane hidden under the page: reaching it would replace
    // the page (and ask about its changes) while the user only moves on.
    web_->setFocusPolicy(Qt::ClickFocus);
    // The cause first: a garbled template may stop its page with an error.
    tellUtf8Files();
    viewpic();
}

void ArticleWindow::versionChanged(int value)
{
    updateCounter();
    if (scroll_->isSliderDown())
        return; // while dragging only the counter follows
    if (value == program_.state.version || program_.state.tavnit.isEmpty())
        return;
    if (program_.state.isModified() && QApplication::mouseButtons() != Qt::NoButton) {
        // The question takes the release of a press on the scroller's arrow,
        // which would then go on stepping through the versions behind it.
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(), QPointF(), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(scroll_, &release);
    }
    if (!checksav()) {
        const QSignalBlocker block(scroll_);
        scroll_->setValue(program_.state.version);
        updateCounter();
        return;
    }
    history_->restart();
    if (const QString failure = program_.pages.chooseVersion(value); !failure.isEmpty()) {
        showError(pageFailure(program_, u"noversion", program_.state.tavnit, failure));
        return;
    }
    viewpic();
}

void ArticleWindow::updateCounter()
{
    count1_->setText(widgetTag(count1_) + QString::number(scroll_->value()));
}

void ArticleWindow::logoTextSwitched()
{
    PageState& s = program_.state;
    const bool wanted = kotxt_->isChecked(); // the prompt's refresh resets the box
    if (!checksav()) {
        kotxt_->setChecked(s.headline.kotxtChecked);
        return;
    }
    showLogoText(wanted);
}

void ArticleWindow::showLogoText(bool on)
{
    PageState& s = program_.state;
    s.headline.kotxtChecked = on;
    if (on) {
        del_misgarot();
        s.overlaysPlaced = false;
        viewpic();
    } else {
        viewpic();
        const int n = s.headline.kotxtTag.toInt();
        s.katava.erase(n);
        prev_->removeTextOverlay(n);
    }
}

void ArticleWindow::got_web()
{
    if (!checksav()) {
        // The save failed: the page keeps its changes, so it stays in front
        // with the buttons that can still save them.
        if (!frview_->isHidden())
            prev_->setFocus();
        return;
    }
    {
        const QSignalBlocker block(tavnit_);
        tavnit_->clearSelection();
        tavnit_->setCurrentRow(-1);
    }
    showWebPane();
}

void ArticleWindow::showWebPane()
{
    web_->setFocusPolicy(webFocus_);
    web_->raise();
    frversion_->hide();
    frview_->hide();
    kotxt_->hide();
    coll_->hide();
    showNoTemplate();
}

void ArticleWindow::openHelp(const QString& webAddress)
{
    // The help page of our own, in the interface language; the web site only
    // when the program folder lacks it.
    const QString page = helpPagePath(program_.dir(), program_.state.language);
    if (QFileInfo(page).isFile() && web_->navigate(page))
        return;
    if (!web_->navigate(webAddress))
        program_.dialogs.tell(this, attentionTitle(program_),
                              uiText(program_, u"nobrowser",
                                     QStringLiteral("לא ניתן לפתוח את הדפדפן. כתובת העזרה היא:\n%1"))
                                  .arg(webAddress));
}

void ArticleWindow::showTemplateCaption()
{
    QString caption = widgetTag(chedit_);
    if (canKeepVersions(program_.state)) {
        caption += program_.state.templateId;
    } else {
        // Without an identifier the template is named without one, and
        // without the separator that would lead up to it.
        while (!caption.isEmpty() && (caption.back().isSpace() || caption.back().isPunct()))
            caption.chop(1);
    }
    setPanelCaption(title_, caption);
}

void ArticleWindow::showNoTemplate()
{
    // Nothing is chosen any more: the caption and the preview say so.
    setPanelCaption(title_, startCaption_);
    showme_->setEnabled(false);
}

void ArticleWindow::keepScaledSize()
{
    // The layout is scaled once, for the screen; a window resized by hand
    // would cut off its right column, so it keeps the scaled size.
    setFixedSize(size());
}

void ArticleWindow::navigate(int index)
{
    const bool main = program_.title() == u"Nuvela";
    const QString help = (main ? kMainHelp : kSiblingHelp) + (main ? kMainHelpSuffix : kSiblingHelpSuffix);
    switch (index) {
    case 0:
        web_->navigate(startPagePath(program_.dir(), program_.state.language));
        break;
    case 1:
        web_->backward();
        break;
    case 2:
        web_->forward();
        break;
    case 3:
        openHelp(main ? uiText(program_, u"helpsite", kMainHelp) + kMainHelpSuffix : help);
        break;
    default:
        return;
    }
    got_web();
}

void ArticleWindow::showOutput()
{
    PicformWindow& window = output();
    window.Res(window.previewMode());
    window.exec();
}

void ArticleWindow::showError(const QString& text)
{
    tellError(program_, this, text);
}

void ArticleWindow::tellUnlistableTemplates()
{
    const QStringList names = unlistableTemplates(program_.dir());
    if (names.isEmpty())
        return;
    QStringList quoted;
    for (const QString& name : names)
        quoted << u'"' + inOwnDirection(name) + u'"';
    program_.dialogs.tell(
        this, attentionTitle(program_),
        fillIn(uiText(program_, u"unlistedtemplates",
                      QStringLiteral("בתיקיית התבניות יש תבניות ששמות הקבצים שלהן אינם בקידוד UTF-8, ולכן הן אינן "
                                     "ברשימה: %1. שנו את שמות הקבצים ופתחו שוב את התוכנית.")),
               {quoted.join(QStringLiteral(", "))}),
        false);
}

void ArticleWindow::tellUtf8Files()
{
    for (const StoreMode mode : {StoreMode::Get, StoreMode::GetTxt}) {
        const QString path = program_.store.pathFor(mode);
        QFile file(path);
        // Each file is read once a run: a large store is not scanned again
        // at every template.
        if (encodingChecked_.contains(path) || !QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
            continue;
        encodingChecked_.insert(path);
        bool utf8 = false;
        while (!utf8 && !file.atEnd())
            utf8 = looksLikeUtf8(file.readLine());
        if (!utf8)
            continue;
        program_.dialogs.tell(this, attentionTitle(program_),
                              fillIn(uiText(program_, u"utf8file",
                                            QStringLiteral("הקובץ %1 שמור בקידוד UTF-8, ולכן העברית שבו מוצגת משובשת. "
                                                           "שמרו אותו בקידוד Windows-1255 (ANSI) ובחרו שוב את התבנית.")),
                                     {leftToRight(QDir::toNativeSeparators(path))}),
                              false);
    }
}

void ArticleWindow::closeEvent(QCloseEvent* event)
{
    if (program_.shutdown())
        event->accept();
    else
        event->ignore(); // the changes could not be saved: stay open with them
}

bool ArticleWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == tavnit_->viewport()) {
        if (event->type() == QEvent::MouseButtonPress) {
            // Only a click on the template already on the page rebuilds it;
            // a click that chooses another one draws it once.
            const QListWidgetItem* pressed = tavnit_->itemAt(static_cast<QMouseEvent*>(event)->position().toPoint());
            pressedOnChosen_ = pressed && pressed->isSelected() && frview_->isVisible();
            kotxt_->setChecked(false);
            program_.state.headline.kotxtChecked = false;
        } else if (event->type() == QEvent::MouseMove) {
            checksav();
        }
    } else if (watched == tavnit_ && event->type() == QEvent::KeyPress && !tavnit_->currentIndex().isValid()
               && static_cast<QKeyEvent*>(event)->key() == Qt::Key_End && tavnit_->count() > 0) {
        // With no template chosen yet the list moves every key to its first
        // item; End means the last.
        tavnit_->setCurrentRow(tavnit_->count() - 1);
        return true;
    } else if (watched == web_ && event->type() == QEvent::FocusIn && frview_->isVisible()) {
        got_web();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace nuvela
