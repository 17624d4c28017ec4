#include "windows/output/picformwindow.h"

#include "store/fit.h"
#include "store/jpeg.h"
#include "windows/common/buttonplus.h"
#include "windows/common/controls.h"
#include "windows/common/dialogs.h"
#include "windows/common/icons.h"
#include "windows/common/panels.h"
#include "windows/common/program.h"
#include "windows/common/version.h"
#include "windows/options/windowload.h"
#include "windows/output/printing.h"
#include "windows/output/saving.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QRadioButton>
#include <QScrollBar>

#include <ret/retainer.h>

namespace nuvela {

/// `Picout`: the frame of the preview. In fitted mode it paints the page
/// scaled into itself; in full-size mode the canvas widget moves inside it.
class PicformWindow::Viewport : public QWidget {
public:
    explicit Viewport(QWidget* parent)
        : QWidget(parent)
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

private:
    QImage fitted_;
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

/// Full-size scroll bars run from 0 to inner size − canvas size; the value
/// is the canvas's left or top, so 0 shows the page's top-left corner. Both
/// are kept in twips, which holds any page size.
void setBarRange(QScrollBar* bar, int innerTwips, int canvasTwips)
{
    const int limit = innerTwips - canvasTwips;
    bar->setRange(std::min(0, limit), std::max(0, limit));
    // With a negative maximum the value falls as the bar moves down or right.
    bar->setInvertedAppearance(limit < 0);
    bar->setInvertedControls(limit < 0);
    bar->setPageStep(innerTwips);
    bar->setSingleStep(std::max(1, innerTwips / 5));
}

} // namespace

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
    hbar_ = new QScrollBar(Qt::Horizontal, this);
    hbar_->setObjectName(QStringLiteral("Hbar"));
    place(hbar_, 8, 556, 564, 16);
    vbar_ = new QScrollBar(Qt::Vertical, this);
    vbar_->setObjectName(QStringLiteral("Vbar"));
    place(vbar_, 574, 8, 16, 546);
    for (QScrollBar* bar : {hbar_, vbar_})
        bar->setLayoutDirection(Qt::LeftToRight);
    connect(hbar_, &QScrollBar::valueChanged, this, [this](int v) { pic_->move(qRound(v / 15.0), pic_->y()); });
    connect(vbar_, &QScrollBar::valueChanged, this, [this](int v) { pic_->move(pic_->x(), qRound(v / 15.0)); });

    Retainer* retainer1 = makePanel(this, QStringLiteral("Retainer1"), QStringLiteral("תצוגה"));
    place(retainer1, 600, 8, 182, 96);
    const char* captions[2] = {"הצג תמונה קטנה", "הצג תמונה גדולה"};
    for (int i = 0; i < 2; ++i) {
        showme_[i] = new QRadioButton(QString::fromUtf8(captions[i]), retainer1);
        makeArrayElement(showme_[i], QStringLiteral("showme"), i);
        place(showme_[i], 10, 32 + i * 28, 162, 24);
        connect(showme_[i], &QRadioButton::clicked, this, [this, i] { Res(i); });
    }
    showme_[0]->setChecked(true);

    Retainer* retainer2 = makePanel(this, QStringLiteral("Retainer2"), QStringLiteral("פעולות"));
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
    auto* version = new QLabel(versionLabelText(), frame1);
    version->setObjectName(QStringLiteral("version"));
    place(version, 8, 170, 166, 22);

    place(this, 0, 0, 790, 580);

    // Loading: the program's fonts for the run, then screen and language.
    program_.fonts.addFrom(program_.dir());
    loadWindow(this, program_.dir(), program_.state.language, screen);
    makesmall();
}

void PicformWindow::makesmall()
{
    pic_->hide();
    hbar_->hide();
    vbar_->hide();
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
        pic_->move(qRound(hbar_->value() / 15.0), qRound(vbar_->value() / 15.0));
        hbar_->show();
        vbar_->show();
        pic_->show();
    }
}

void PicformWindow::showMessage(const QString& text)
{
    program_.dialogs.tell(this, QStringLiteral("Error"), text);
}

void PicformWindow::savePicture()
{
    const auto choice = program_.dialogs.saveFile(this, QStringLiteral("שמור תמונה"), kSaveFilter);
    if (!choice)
        return; // cancelled
    const SaveTarget target = saveTargetFor(*choice);
    // A protected file is the user's to give up; the system would let an
    // administrator replace it without a word.
    ReadOnlyFiles readOnly = ReadOnlyFiles::Refuse;
    if (examineOutput(target.path).kind == OutputKind::ReadOnly) {
        if (!program_.dialogs.ask(this, QStringLiteral("Attention"),
                                  QStringLiteral("The file %1 is read-only. Replace it anyway?").arg(target.path)))
            return;
        readOnly = ReadOnlyFiles::Replace;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const StoreResult saved = savePage(program_.canvas.image(), target, jpegQuality(program_.store), readOnly);
    QApplication::restoreOverrideCursor();
    if (!saved.ok())
        showMessage(saved.error);
}

void PicformWindow::printPicture()
{
    QPrinter printer(QPrinter::HighResolution);
    if (!program_.dialogs.print(this, printer))
        return; // cancelled
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QString failure = printPage(program_.canvas.image(), printer);
    QApplication::restoreOverrideCursor();
    if (!failure.isEmpty())
        showMessage(failure);
}

} // namespace nuvela
