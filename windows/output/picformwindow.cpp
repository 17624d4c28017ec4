#include "windows/output/picformwindow.h"

#include "store/fit.h"
#include "store/jpeg.h"
#include "windows/common/buttonplus.h"
#include "windows/common/controls.h"
#include "windows/common/dialogs.h"
#include "windows/common/focusring.h"
#include "windows/common/icons.h"
#include "windows/common/panels.h"
#include "windows/common/program.h"
#include "windows/common/uitext.h"
#include "windows/common/version.h"
#include "windows/options/windowload.h"
#include "windows/output/export.h"
#include "windows/output/printing.h"
#include "windows/output/saving.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QKeyEvent>
#include <QPainter>
#include <QPrinter>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>

#include <ret/retainer.h>

namespace nuvela {

/// `Picout`: the frame of the preview. In fitted mode it paints the page
/// scaled into itself; in full-size mode the canvas widget moves inside it.
/// While it has the keys (which scroll the page) a ring round it says so,
/// drawn by a child that stays above the canvas.
class PicformWindow::Viewport : public QWidget {
public:
    explicit Viewport(QWidget* parent)
        : QWidget(parent)
        , ring_(new Ring(this))
    {
        setAutoFillBackground(true);
        QPalette p = palette();
        p.setColor(QPalette::Window, QColor(0x6b, 0x73, 0x80));
        setPalette(p);
    }
    void showFitted(const QImage& page)
    {
        fitted_ = page;
        update();
    }
    void clearPicture()
    {
        fitted_ = QImage();
        update();
    }
    /// Above the canvas, which is made after the viewport.
    void raiseRing() { ring_->raise(); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (fitted_.isNull())
            return;
        const FitResult f = fitPage(float(height()), float(width()), float(fitted_.height()), float(fitted_.width()));
        QPainter p(this);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(QRectF(f.x, f.y, f.width, f.height), fitted_);
    }
    void resizeEvent(QResizeEvent*) override { ring_->setGeometry(rect()); }
    void focusInEvent(QFocusEvent* event) override
    {
        QWidget::focusInEvent(event);
        ring_->update();
    }
    void focusOutEvent(QFocusEvent* event) override
    {
        QWidget::focusOutEvent(event);
        ring_->update();
    }

private:
    class Ring : public QWidget {
    public:
        explicit Ring(QWidget* viewport)
            : QWidget(viewport)
        {
            setAttribute(Qt::WA_TransparentForMouseEvents);
        }

    protected:
        void paintEvent(QPaintEvent*) override
        {
            if (parentWidget()->hasFocus())
                paintFocusRing(*this);
        }
    };

    QImage fitted_;
    Ring* ring_;
};

namespace {

ButtonPlus* button(QWidget* parent, const char* name, const QString& caption, const QString& tip,
                   Glyph glyph)
{
    auto* b = new ButtonPlus(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(tip);
    b->setPicture(glyphIcon(glyph));
    b->setPictureAlignment(PictureAlignment::RightEdge);
    return b;
}

/// In full-size mode the canvas's left (or top) inside the viewport runs from
/// 0, the page's corner, to inner size − canvas size, which is negative for a
/// page larger than the viewport. The bar itself always runs from 0 upwards,
/// its value the distance moved, so that its arrows, the wheel and the keys
/// go the way the user expects; the property holds the sign that turns the
/// value back into the canvas position. Both are in twips, which hold any
/// page size.
constexpr char kBarSign[] = "canvasSign";

void setBarRange(QScrollBar* bar, int innerTwips, int canvasTwips)
{
    const int limit = innerTwips - canvasTwips;
    bar->setRange(0, std::abs(limit));
    bar->setProperty(kBarSign, limit < 0 ? -1 : 1);
    bar->setPageStep(innerTwips);
    bar->setSingleStep(std::max(1, innerTwips / 5));
}

} // namespace

QWidget* PicformWindow::viewport() const { return picout_; }

int PicformWindow::canvasOffset(const QScrollBar* bar)
{
    const int sign = bar->property(kBarSign).isValid() ? bar->property(kBarSign).toInt() : 1;
    return bar->value() * sign;
}

void PicformWindow::placeCanvas()
{
    pic_->move(qRound(canvasOffset(hbar_) / 15.0), qRound(canvasOffset(vbar_) / 15.0));
}

bool PicformWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != picout_ || !vbar_->isVisible())
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::Wheel) {
        // The wheel over the page scrolls it; sideways (or with Shift) across.
        auto* wheel = static_cast<QWheelEvent*>(event);
        const QPoint delta = wheel->angleDelta();
        const bool across = (delta.y() == 0 && delta.x() != 0) || wheel->modifiers() & Qt::ShiftModifier;
        QScrollBar* bar = across ? hbar_ : vbar_;
        const int steps = (across && delta.y() == 0 ? delta.x() : delta.y()) / 120;
        for (int i = 0; i < std::abs(steps); ++i)
            bar->triggerAction(steps > 0 ? QAbstractSlider::SliderSingleStepSub
                                         : QAbstractSlider::SliderSingleStepAdd);
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool control = key->modifiers() & Qt::ControlModifier;
        QScrollBar* bar = vbar_;
        QAbstractSlider::SliderAction action = QAbstractSlider::SliderNoAction;
        switch (key->key()) {
        case Qt::Key_Up: action = QAbstractSlider::SliderSingleStepSub; break;
        case Qt::Key_Down: action = QAbstractSlider::SliderSingleStepAdd; break;
        case Qt::Key_Left: bar = hbar_; action = QAbstractSlider::SliderSingleStepSub; break;
        case Qt::Key_Right: bar = hbar_; action = QAbstractSlider::SliderSingleStepAdd; break;
        case Qt::Key_PageUp: action = QAbstractSlider::SliderPageStepSub; break;
        case Qt::Key_PageDown: action = QAbstractSlider::SliderPageStepAdd; break;
        case Qt::Key_Home: action = QAbstractSlider::SliderToMinimum; break;
        case Qt::Key_End: action = QAbstractSlider::SliderToMaximum; break;
        default: return QDialog::eventFilter(watched, event);
        }
        if (control && (key->key() == Qt::Key_Home || key->key() == Qt::Key_End))
            hbar_->triggerAction(action);
        bar->triggerAction(action);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

PicformWindow::PicformWindow(Program& program, QWidget* parent, QSize screen)
    : QDialog(parent)
    , program_(program)
{
    setObjectName(QStringLiteral("picform"));
    setWindowTitle(program.title());
    prepareWindow(this);
    setModal(true);

    picout_ = new Viewport(this);
    picout_->setObjectName(QStringLiteral("Picout"));
    place(picout_, 8, 8, 564, 546);
    pic_ = new QLabel(picout_);
    pic_->setObjectName(QStringLiteral("Pic"));
    pic_->hide();
    picout_->raiseRing();
    hbar_ = new QScrollBar(Qt::Horizontal, this);
    hbar_->setObjectName(QStringLiteral("Hbar"));
    place(hbar_, 8, 556, 564, 16);
    vbar_ = new QScrollBar(Qt::Vertical, this);
    vbar_->setObjectName(QStringLiteral("Vbar"));
    place(vbar_, 574, 8, 16, 546);
    for (QScrollBar* bar : {hbar_, vbar_})
        bar->setLayoutDirection(Qt::LeftToRight);
    for (QScrollBar* bar : {hbar_, vbar_})
        connect(bar, &QScrollBar::valueChanged, this, &PicformWindow::placeCanvas);
    // The page itself takes the wheel and the scrolling keys.
    picout_->setFocusPolicy(Qt::StrongFocus);
    picout_->installEventFilter(this);

    Retainer* retainer1 = makePanel(this, QStringLiteral("Retainer1"), QString());
    place(retainer1, 600, 8, 182, 96);
    const char* captions[2] = {"הצג תמונה קטנה", "הצג תמונה גדולה"};
    for (int i = 0; i < 2; ++i) {
        showme_[i] = new QRadioButton(QString::fromUtf8(captions[i]), retainer1);
        makeArrayElement(showme_[i], QStringLiteral("showme"), i);
        place(showme_[i], 10, 32 + i * 28, 162, 24);
        connect(showme_[i], &QRadioButton::clicked, this, [this, i] { Res(i); });
    }
    showme_[0]->setChecked(true);

    Retainer* retainer2 = makePanel(this, QStringLiteral("Retainer2"), QString());
    place(retainer2, 600, 112, 182, 232);
    ButtonPlus* cmdSave = button(retainer2, "cmdSave", QStringLiteral("שמור תמונה"), QStringLiteral("שמור תמונה"), Glyph::Save);
    ButtonPlus* printo = button(retainer2, "printo", QStringLiteral("הדפסה"), QStringLiteral("הדפסה"), Glyph::Print);
    ButtonPlus* editpage = button(retainer2, "editpage", QStringLiteral("ערוך כותרות"), QStringLiteral("ערוך כותרות"), Glyph::Edit);
    ButtonPlus* cmdExit = button(retainer2, "cmdExit", QStringLiteral("יציאה"), QString(), Glyph::Exit);
    int y = 34;
    for (ButtonPlus* b : {cmdSave, printo, editpage, cmdExit}) {
        place(b, 10, y, 162, 42);
        y += 48;
    }
    cmdSave->setShortcut(QKeySequence::Save);
    printo->setShortcut(QKeySequence::Print);
    connect(cmdSave, &ButtonPlus::clicked, this, &PicformWindow::savePicture);
    connect(printo, &ButtonPlus::clicked, this, &PicformWindow::printPicture);
    connect(editpage, &ButtonPlus::clicked, this, [this] {
        picout_->clearPicture();
        hide();
    });
    connect(cmdExit, &ButtonPlus::clicked, this, [this] {
        hide();
        program_.shutdown();
    });

    auto* frame1 = new QFrame(this);
    frame1->setObjectName(QStringLiteral("Frame1"));
    frame1->setFrameShape(QFrame::StyledPanel);
    place(frame1, 600, 352, 182, 202);
    auto* edittemp = new QLabel(QStringLiteral("ערוך תבניות"), frame1);
    edittemp->setObjectName(QStringLiteral("edittemp"));
    place(edittemp, 8, 8, 166, 22);
    auto* credit = new QLabel(QStringLiteral("כרטיס ברכה בדמות עיתון"), frame1);
    credit->setObjectName(QStringLiteral("credit"));
    credit->setWordWrap(true);
    place(credit, 8, 34, 166, 60);
    auto* dpilabel = new QLabel(QStringLiteral("רזולוציה לשמירה"), frame1);
    dpilabel->setObjectName(QStringLiteral("dpilabel"));
    place(dpilabel, 8, 100, 166, 22);
    dpi_ = new QComboBox(frame1);
    dpi_->setObjectName(QStringLiteral("dpi"));
    place(dpi_, 8, 124, 166, 24);
    // Marks hold "150 dpi" left to right, which would read "dpi 150" in Hebrew.
    for (int dpi : kExportDpis)
        dpi_->addItem(QStringLiteral("\u200E%1 dpi\u200E").arg(dpi), dpi);
    relabelOwnTexts();
    dpi_->setCurrentIndex(std::max(0, dpi_->findData(savedDpi(program_))));
    connect(dpi_, &QComboBox::activated, this, [this] {
        // The store's reason is English; Hebrew says what holds and what to check.
        if (QString why = rememberDpi(program_, dpi_->currentData().toInt()); !why.isEmpty())
            showMessage(uiText(program_, u"dpinotkept",
                               QStringLiteral("הרזולוציה שנבחרה תשמש עד סגירת התוכנית, אך לא נשמרה לפעם הבאה."))
                        + u'\n'
                        + fillIn(uiText(program_, u"storenowrite",
                                        QStringLiteral("לא ניתן לכתוב בקובץ %1. ודאו שהקובץ והתיקייה שלו אינם מוגנים "
                                                       "מפני כתיבה ושיש מקום פנוי בדיסק.")),
                                 {leftToRight(QDir::toNativeSeparators(program_.store.pathFor(StoreMode::WriteTxt))),
                                  why}));
    });
    auto* version = new QLabel(versionLabelText(), frame1);
    version->setObjectName(QStringLiteral("version"));
    place(version, 8, 170, 166, 22);

    place(this, 0, 0, 790, 580);

    // Loading: the program's fonts for the run, then screen and language.
    program_.fonts.addFrom(program_.dir());
    loadWindow(this, program_.dir(), program_.state.language, screen);
    version->setText(versionLabelText()); // set after the language, which cannot replace it
    setFixedSize(size()); // scaled once for the screen, like the main window
    makesmall();
}

void PicformWindow::makesmall()
{
    pic_->hide();
    hbar_->hide();
    vbar_->hide();
}

void PicformWindow::relabelOwnTexts()
{
    const int screenItem = dpi_->findData(kScreenDpi);
    if (screenItem >= 0)
        dpi_->setItemText(screenItem, uiText(program_, u"screendpi", QStringLiteral("מסך (\u200E96 dpi\u200E)")));
}

int PicformWindow::previewMode() const { return showme_[0]->isChecked() ? 0 : 1; }

void PicformWindow::Res(int mode)
{
    const QImage& page = program_.canvas.image();
    if (mode == 0) {
        makesmall();
        showme_[0]->setChecked(true);
        picout_->showFitted(page);
    } else if (mode == 1) {
        showme_[1]->setChecked(true);
        pic_->setPixmap(QPixmap::fromImage(page));
        pic_->resize(page.size());
        const int innerW = qRound(picout_->width() * 15.0), innerH = qRound(picout_->height() * 15.0);
        setBarRange(vbar_, innerH, qRound(page.height() * program_.canvas.twipsPerPixel()));
        setBarRange(hbar_, innerW, qRound(page.width() * program_.canvas.twipsPerPixel()));
        picout_->clearPicture();
        placeCanvas();
        hbar_->show();
        vbar_->show();
        pic_->show();
        picout_->setFocus(Qt::OtherFocusReason);
        // Chosen by the arrow keys, the mode's button takes the focus only
        // after its click: the page takes the keys again once that is done.
        QTimer::singleShot(0, picout_, [this] {
            if (previewMode() == 1 && picout_->isVisible())
                picout_->setFocus(Qt::OtherFocusReason);
        });
    }
}

void PicformWindow::showMessage(const QString& text)
{
    tellError(program_, this, text);
}

void PicformWindow::savePicture()
{
    // The dialog is titled like the button that opens it, in the interface language.
    const auto* cmdSave = findChild<ButtonPlus*>(QStringLiteral("cmdSave"));
    const auto choice = program_.dialogs.saveFile(this, cmdSave->caption(), kSaveFilter);
    if (!choice)
        return; // cancelled
    const SaveTarget target = saveTargetFor(*choice);
    // The dialog saw the name before its extension was added: ask here,
    // under the name the file gets. A protected file is the user's to give
    // up; the system would let an administrator replace it without a word.
    ReadOnlyFiles readOnly = ReadOnlyFiles::Refuse;
    const OutputPlace place = examineOutput(target.path);
    const OutputKind existing = place.kind;
    // A folder, device or pipe under that name is never replaced; the
    // general advice (folder, room, permission) would send the user
    // looking for the wrong fault.
    if (existing == OutputKind::NotRegular) {
        showMessage(fillIn(uiText(program_, u"savenotfile",
                                  QStringLiteral("לא ניתן לשמור את התמונה בשם %1: זהו שם של תיקייה, התקן או צינור, "
                                                 "והם אינם מוחלפים. בחרו שם אחר.")),
                           {leftToRight(QDir::toNativeSeparators(target.path))}));
        return;
    }
    // A file that could not be replaced anyway is not asked about: the
    // failure says why.
    if (existing == OutputKind::Regular || (existing == OutputKind::ReadOnly && mayReplaceReadOnly(place))) {
        const QString question = existing == OutputKind::ReadOnly
            ? uiText(program_, u"replacereadonly", QStringLiteral("הקובץ %1 מוגן מפני כתיבה. להחליף אותו בכל זאת?"))
            : uiText(program_, u"replace", QStringLiteral("הקובץ %1 כבר קיים. להחליף אותו?"));
        // The old picture cannot be brought back: Enter pressed by habit keeps it.
        if (!program_.dialogs.ask(this, attentionTitle(program_),
                                  question.arg(leftToRight(QDir::toNativeSeparators(target.path))), Ask::Warning))
            return;
        if (existing == OutputKind::ReadOnly)
            readOnly = ReadOnlyFiles::Replace;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QString why;
    StoreResult saved;
    if (target.format == PictureFileFormat::Pdf) {
        const QByteArray document = drawPagePdf(program_, &why);
        saved = document.isEmpty() ? StoreResult{why} : saveDocument(document, target.path, readOnly);
    } else {
        // The resolution shown, also when the store refused to remember it.
        const QImage page = drawPageAt(program_, double(dpi_->currentData().toInt()) / kScreenDpi, &why);
        if (page.isNull() && why.isEmpty())
            why = QStringLiteral("The page could not be drawn.");
        saved = page.isNull() ? StoreResult{why} : savePage(page, target, jpegQuality(program_.store), readOnly);
    }
    QApplication::restoreOverrideCursor();
    // A page that could not be drawn (too large at this resolution, no
    // memory) is no fault of the folder; nothing was written.
    if (!why.isEmpty())
        showMessage(fillIn(uiText(program_, u"savedrawfailed",
                                  QStringLiteral("לא ניתן לצייר את העמוד לשמירה בקובץ %2, ולא נשמר דבר. בחרו "
                                                 "רזולוציה נמוכה יותר, או סגרו תוכניות אחרות, ונסו שוב.")),
                           {why, leftToRight(QDir::toNativeSeparators(target.path))}));
    // Hebrew names the file rather than give the writer's English reason.
    else if (!saved.ok())
        showMessage(fillIn(uiText(program_, u"savefailed",
                                  QStringLiteral("לא ניתן לשמור את התמונה בקובץ %2. בדקו שהתיקייה קיימת, שיש "
                                                 "בה מקום ושמותר לכתוב בה.")),
                           {saved.error, leftToRight(QDir::toNativeSeparators(target.path))}));
}

void PicformWindow::printPicture()
{
    const QImage& canvas = program_.canvas.image();
    QPrinter printer(QPrinter::HighResolution);
    // A landscape page prints across the sheet unless the user says otherwise.
    printer.setPageOrientation(canvas.width() > canvas.height() ? QPageLayout::Landscape : QPageLayout::Portrait);
    if (!program_.dialogs.print(this, printer))
        return; // cancelled
    // Printed into a file: a pipe or device under its name would hold the
    // program forever, and a failure is the file's, not the printer's.
    const QString file = printer.outputFileName();
    const QString named = leftToRight(QDir::toNativeSeparators(file));
    if (!file.isEmpty() && examineOutput(file).kind == OutputKind::NotRegular) {
        showMessage(fillIn(uiText(program_, u"printnotfile",
                                  QStringLiteral("לא ניתן להדפיס לקובץ %1: זהו שם של תיקייה, התקן או צינור, והם אינם "
                                                 "מוחלפים. בחרו שם אחר.")),
                           {named}));
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // Drawn again at the printer's resolution rather than stretched from the screen's.
    const QRectF area(QPointF(0, 0), printer.pageLayout().paintRectPixels(printer.resolution()).size());
    QString failure;
    const QImage page = drawPageAt(program_, printScale(canvas.size(), area, printer.resolution(), kFinestPrintDpi), &failure);
    if (!page.isNull())
        failure = printPage(page, printer);
    QApplication::restoreOverrideCursor();
    if (!failure.isEmpty() && !file.isEmpty())
        showMessage(fillIn(uiText(program_, u"printfilefailed",
                                  QStringLiteral("לא ניתן להדפיס לקובץ %1. בדקו שהתיקייה קיימת, שיש בה מקום ושמותר "
                                                 "לכתוב בה.")),
                           {named}));
    else if (!failure.isEmpty())
        showMessage(uiText(program_, u"printfailed",
                           QStringLiteral("ההדפסה לא הצליחה. בדקו שהמדפסת מחוברת, דולקת ויש בה נייר.\n%1"))
                        .arg(failure));
}

} // namespace nuvela
