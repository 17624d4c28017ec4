#include "windows/picedit/piceditwindow.h"

#include "store/fit.h"
#include "store/jpeg.h"
#include "store/numbers.h"
#include "windows/common/buttonplus.h"
#include "windows/common/controls.h"
#include "windows/common/dialogs.h"
#include "windows/common/focusring.h"
#include "windows/common/panels.h"
#include "windows/common/program.h"
#include "windows/common/uitext.h"
#include "windows/options/windowload.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QRadioButton>
#include <QScrollBar>

#include <ret/retainer.h>

#include <algorithm>
#include <climits>
#include <cmath>

namespace nuvela {

namespace {

/// Why a picture file cannot be shown, in the interface language: the
/// decoder's own words are English and name formats rather than the file.
QString unreadableText(Program& program, const EditorPicture& picture, const QString& path)
{
    using Failure = DecodedPicture::Failure;
    const QString file = leftToRight(QDir::toNativeSeparators(path));
    switch (picture.failure) {
    case Failure::Missing:
        return fillIn(uiText(program, u"picmissing", QStringLiteral("הקובץ %1 לא נמצא.")), {file});
    case Failure::Unreadable:
        return fillIn(uiText(program, u"picunreadable", QStringLiteral("לא ניתן לקרוא את הקובץ %1.")), {file});
    case Failure::Invalid:
        return fillIn(uiText(program, u"picinvalid",
                             QStringLiteral("הקובץ %1 אינו תמונה מסוג BMP, GIF, JPEG או PNG, או שהוא פגום.")),
                      {file});
    case Failure::TooLarge:
        return fillIn(uiText(program, u"pictoolarge",
                             QStringLiteral("התמונה %1 גדולה מדי: עד %2 פיקסלים בכל צד ועד %3 מיליון פיקסלים בסך הכול.")),
                      {file, QString::number(kMaxPictureSide), QString::number(kMaxPicturePixels / 1'000'000)});
    case Failure::None:
        break;
    }
    return picture.error;
}

// Design-pixel layout of the 800 x 600 screen the windows are drawn for.
constexpr double kWindowWidth = 760, kWindowHeight = 500;
const QRectF kHolder(8, 8, 500, 484); ///< where the view and its pan bars go
constexpr int kBarThickness = 16;
// A frame without a usable `picdim` keeps the view's design size (twips).
constexpr double kDesignViewWidth = 4500, kDesignViewHeight = 3000;
// The working copy covers the view at this zoom; beyond it the view is
// enlarged from the copy (the applied picture comes from the file itself).
constexpr int kWorkingZoom = 4;
// Pan bar steps in twips, zoom steps of the keys and the wheel in tenths.
constexpr int kPanSmallStep = 100, kPanLargeStep = 3000;
constexpr int kZoomLargeStep = 20, kZoomKeyStep = 2;
// Zoom values from here on no longer match a mode's plain fit.
constexpr int kZoomBeyondMode = 11;

int barValue(std::int64_t v) { return int(std::clamp<std::int64_t>(v, 0, INT_MAX)); }

QScrollBar* makeBar(QWidget* parent, Qt::Orientation o, const char* name)
{
    auto* bar = new WithFocusRing<QScrollBar>(o, parent);
    bar->setObjectName(QString::fromLatin1(name));
    // Positions are absolute: left shows the picture's left edge in any language.
    bar->setLayoutDirection(Qt::LeftToRight);
    return bar;
}

} // namespace

/// `picImage`: shows the framed picture at exactly the frame's size; the
/// picture can be dragged, zoomed with the wheel and panned with the arrows.
class PiceditWindow::FrameView : public QWidget {
public:
    explicit FrameView(PiceditWindow* window)
        : QWidget(window)
        , window_(window)
    {
        setObjectName(QStringLiteral("picImage"));
        setProperty(kToolkitTypeProperty, QStringLiteral("PictureBox"));
        setFocusPolicy(Qt::StrongFocus);
        setCursor(Qt::OpenHandCursor);
    }
    void setMessage(const QString& text)
    {
        message_ = text;
        update();
    }
    const QString& message() const { return message_; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        if (!message_.isEmpty()) {
            p.fillRect(rect(), QColor(0xfd, 0xf3, 0xe7));
            p.setPen(QColor(0x8a, 0x2b, 0x12));
            p.drawText(rect().adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWordWrap, message_);
        } else {
            // The view holds the frame's own pixels; on a screen scaled by a
            // fraction, blown up one pixel to one or two they read as stairs.
            const qreal ratio = devicePixelRatioF();
            p.setRenderHint(QPainter::SmoothPixmapTransform, ratio != std::floor(ratio));
            p.drawImage(0, 0, window_->shown_);
        }
        if (hasFocus()) {
            p.setPen(QPen(palette().color(QPalette::Highlight), 2, Qt::DashLine));
            p.drawRect(rect().adjusted(1, 1, -1, -1));
        }
    }
    void mousePressEvent(QMouseEvent* e) override
    {
        if (e->button() != Qt::LeftButton)
            return QWidget::mousePressEvent(e);
        last_ = e->position();
        dragging_ = true;
        setCursor(Qt::ClosedHandCursor);
    }
    void mouseMoveEvent(QMouseEvent* e) override
    {
        if (!dragging_)
            return;
        const QPointF by = e->position() - last_;
        last_ = e->position();
        window_->panBy(by.x(), by.y());
    }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        if (e->button() == Qt::LeftButton) {
            dragging_ = false;
            setCursor(Qt::OpenHandCursor);
        }
    }
    void wheelEvent(QWheelEvent* e) override
    {
        // One notch is 120; touchpads send smaller parts of it.
        wheel_ += e->angleDelta().y();
        const int notches = wheel_ / 120;
        wheel_ -= notches * 120;
        if (notches != 0)
            window_->zoomBy(notches * kZoomKeyStep);
        e->accept();
    }
    void keyPressEvent(QKeyEvent* e) override
    {
        const bool large = e->modifiers() & Qt::ShiftModifier;
        const auto step = large ? QAbstractSlider::SliderPageStepAdd : QAbstractSlider::SliderSingleStepAdd;
        const auto back = large ? QAbstractSlider::SliderPageStepSub : QAbstractSlider::SliderSingleStepSub;
        switch (e->key()) {
        case Qt::Key_Left:
            window_->scrollh_->triggerAction(back);
            break;
        case Qt::Key_Right:
            window_->scrollh_->triggerAction(step);
            break;
        case Qt::Key_Up:
            window_->scrollv_->triggerAction(back);
            break;
        case Qt::Key_Down:
            window_->scrollv_->triggerAction(step);
            break;
        default:
            return QWidget::keyPressEvent(e);
        }
    }
    void focusInEvent(QFocusEvent* e) override
    {
        update();
        QWidget::focusInEvent(e);
    }
    void focusOutEvent(QFocusEvent* e) override
    {
        update();
        QWidget::focusOutEvent(e);
    }

private:
    PiceditWindow* window_;
    QString message_;
    QPointF last_;
    bool dragging_ = false;
    int wheel_ = 0;
};

/// `orginal`: the view's content scaled into a box of the frame's shape.
class PiceditWindow::Preview : public QWidget {
public:
    explicit Preview(PiceditWindow* window, QWidget* parent)
        : QWidget(parent)
        , window_(window)
    {
        setObjectName(QStringLiteral("orginal"));
        setProperty(kToolkitTypeProperty, QStringLiteral("PictureBox"));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        if (!window_->shown_.isNull())
            p.drawImage(rect(), window_->shown_);
        p.setPen(QColor(0, 0, 0, 60));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }

private:
    PiceditWindow* window_;
};

PiceditWindow::PiceditWindow(Program& program, int objectNumber, const QString& sourcePath,
                             QWidget* parent, QSize screen)
    : QDialog(parent)
    , program_(program)
    , objectNumber_(objectNumber)
{
    setObjectName(QStringLiteral("picedit"));
    setWindowTitle(QStringLiteral("עצוב תמונה"));
    setModal(true);
    prepareWindow(this);
    buildWidgets();
    setWidgetTag(this, QString::number(objectNumber));
    setWidgetTag(orginal_, sourcePath);
    loadWindow(this, program_.dir(), program_.state.language, screen);
    // The design's holder, scaled as the window was.
    const double fx = width() / kWindowWidth, fy = height() / kWindowHeight;
    holderRect_ = QRectF(kHolder.x() * fx, kHolder.y() * fy, kHolder.width() * fx, kHolder.height() * fy).toRect();
    activate();
}

void PiceditWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The keys pan and zoom the view from the start.
    picImage_->setFocus(Qt::ActiveWindowFocusReason);
}

PiceditWindow::~PiceditWindow() = default;

void PiceditWindow::buildWidgets()
{
    picImage_ = new FrameView(this);
    setWidgetTag(picImage_, QStringLiteral("לא ניתן להציג את התמונה"));
    picImage_->setToolTip(QStringLiteral("גרור להזזת התמונה, גלגלת לשינוי גודל"));
    scrollh_ = makeBar(this, Qt::Horizontal, "scrollh");
    scrollv_ = makeBar(this, Qt::Vertical, "scrollv");
    for (QScrollBar* bar : {scrollh_, scrollv_}) {
        bar->setSingleStep(kPanSmallStep);
        bar->setPageStep(kPanLargeStep);
        bar->setRange(0, 0);
        connect(bar, &QScrollBar::valueChanged, this, &PiceditWindow::barMoved);
    }

    auto* frame1 = makePanel(this, QStringLiteral("Frame1"), QStringLiteral("מיקום התמונה"));
    frame1_ = frame1;
    place(frame1, 516, 8, 236, 176);
    const char* captions[4] = {"מתוח", "מותאם לגובה", "מותאם לרוחב", "במרכז"};
    for (int i = 0; i < 4; ++i) {
        picstat_[i] = new QRadioButton(QString::fromUtf8(captions[i]), frame1);
        makeArrayElement(picstat_[i], QStringLiteral("picstat"), i);
        place(picstat_[i], 10, 30 + i * 26, 216, 24);
        connect(picstat_[i], &QRadioButton::clicked, this, [this, i] { chooseMode(i); });
    }
    flip_ = new QCheckBox(QStringLiteral("הפוך תמונה"), frame1);
    flip_->setObjectName(QStringLiteral("flip"));
    place(flip_, 10, 140, 216, 24);
    connect(flip_, &QCheckBox::toggled, this, [this] {
        rebuildPyramid();
        draw();
    });

    label1_ = new QLabel(QStringLiteral("שינוי גודל תמונה:"), this);
    label1_->setObjectName(QStringLiteral("Label1"));
    place(label1_, 516, 192, 236, 20);
    zoom_ = makeBar(this, Qt::Horizontal, "zoom");
    zoom_->setRange(kZoomMinimum, kZoomMinimum);
    zoom_->setValue(kZoomMinimum);
    zoom_->setSingleStep(1);
    zoom_->setPageStep(kZoomLargeStep);
    zoom_->setFocusPolicy(Qt::StrongFocus); // Tab reaches it; its arrows zoom
    place(zoom_, 516, 214, 236, 18);
    connect(zoom_, &QScrollBar::valueChanged, this, &PiceditWindow::zoomChanged);

    auto* frame2 = makePanel(this, QStringLiteral("Frame2"), QString(), false);
    frame2_ = frame2;
    place(frame2, 516, 240, 236, 150);
    orginal_ = new Preview(this, frame2);
    place(orginal_, 8, 8, 220, 134);

    siz_ = new QLabel(QStringLiteral("גודל תמונה"), this);
    siz_->setObjectName(QStringLiteral("siz"));
    siz_->setAlignment(Qt::AlignCenter);
    place(siz_, 516, 396, 236, 20);

    auto button = [this](const char* name, const QString& caption) {
        auto* b = new ButtonPlus(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    loadpic_ = button("loadpic", QStringLiteral("טען תמונה..."));
    putpic_ = button("putpic", QStringLiteral("עדכן"));
    cansul_ = button("cansul", QStringLiteral("סגור"));
    loadpic_->setToolTip(QStringLiteral("Ctrl+O"));
    loadpic_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    putpic_->setToolTip(QStringLiteral("Ctrl+Enter"));
    cansul_->setToolTip(QStringLiteral("Esc"));
    place(loadpic_, 516, 422, 236, 30);
    place(putpic_, 636, 460, 116, 32);
    place(cansul_, 516, 460, 116, 32);
    connect(loadpic_, &ButtonPlus::clicked, this, &PiceditWindow::loadOther);
    connect(putpic_, &ButtonPlus::clicked, this, [this] { apply(); });
    connect(cansul_, &ButtonPlus::clicked, this, &QDialog::reject);

    place(this, 0, 0, kWindowWidth, kWindowHeight);
    // Tab goes from the view through the controls as they are read.
    setTabOrder(picImage_, picstat_[0]);
    for (int i = 1; i < 4; ++i)
        setTabOrder(picstat_[i - 1], picstat_[i]);
    setTabOrder(picstat_[3], flip_);
    setTabOrder(flip_, zoom_);
    setTabOrder(zoom_, loadpic_);
    setTabOrder(loadpic_, putpic_);
    setTabOrder(putpic_, cansul_);
    tabRowInReadingOrder({cansul_, putpic_});
}

QString PiceditWindow::viewMessage() const { return picImage_->message(); }

QWidget* PiceditWindow::view() const { return picImage_; }
QWidget* PiceditWindow::preview() const { return orginal_; }
bool PiceditWindow::isMirrored() const { return flip_->isChecked(); }

void PiceditWindow::activate()
{
    const auto box = Fields(program_.store.get(StoreMode::Get, QStringLiteral("object%1").arg(objectNumber_),
                                               u"picdim"))
                         .box();
    if (box && std::abs(box->w) >= 1 && std::abs(box->h) >= 1)
        framing_.view = QSizeF(std::abs(box->w), std::abs(box->h));
    else
        framing_.view = QSizeF(kDesignViewWidth, kDesignViewHeight);
    const double w = framing_.view.width(), h = framing_.view.height();

    // The view at the frame's size, smaller only where the window cannot hold it.
    const QRect room = holderRect_.adjusted(0, 0, -kBarThickness - 2, -kBarThickness - 2);
    viewScale_ = std::min({1.0 / 15, room.width() / w, room.height() / h});
    const QSize px(std::max(1, int(roundHalfEven(w * viewScale_))), std::max(1, int(roundHalfEven(h * viewScale_))));
    const QPoint at(room.x() + (room.width() - px.width()) / 2, room.y() + (room.height() - px.height()) / 2);
    picImage_->setGeometry(QRect(at, px));
    scrollh_->setGeometry(at.x(), at.y() + px.height() + 2, px.width(), kBarThickness);
    scrollv_->setGeometry(at.x() + px.width() + 2, at.y(), kBarThickness, px.height());

    // The preview keeps the frame's shape inside its panel.
    const QRect area = QRect(QPoint(0, 0), frame2_->size()).adjusted(8, 8, -8, -8);
    const FitResult fit = fitPage(float(area.height()), float(area.width()), float(h), float(w));
    orginal_->setGeometry(QRectF(area.x() + fit.x, area.y() + fit.y, fit.width, fit.height).toRect());

    siz_->setText(QStringLiteral("%1 X %2").arg(roundHalfEven(w / 15)).arg(roundHalfEven(h / 15)));
    loadSource();
}

void PiceditWindow::loadSource()
{
    const QString path = widgetTag(orginal_);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    picture_ = loadEditorPicture(path, picImage_->size() * kWorkingZoom);
    QApplication::restoreOverrideCursor();
    const bool ok = picture_.ok();
    for (QWidget* w : std::initializer_list<QWidget*>{putpic_, flip_, picstat_[0], picstat_[1], picstat_[2], picstat_[3]})
        w->setEnabled(ok);
    if (!ok) {
        pyramid_.reset({});
        shown_ = QImage();
        for (QWidget* w : std::initializer_list<QWidget*>{zoom_, scrollh_, scrollv_})
            w->setEnabled(false);
        picImage_->setMessage(widgetTag(picImage_) + QStringLiteral("\n\n") + unreadableText(program_, picture_, path));
        orginal_->update();
        return;
    }
    picImage_->setMessage({});
    framing_.source = QSizeF(picture_.fullPixels) * 15.0;
    {
        const QSignalBlocker block(zoom_);
        zoom_->setRange(kZoomMinimum, zoomMaximum(framing_.source.width(), framing_.view.width()));
    }
    // The mirror switch keeps its meaning for the new picture too.
    rebuildPyramid();
    chooseMode(int(defaultMode(framing_.source, framing_.view)));
}

void PiceditWindow::rebuildPyramid()
{
    if (picture_.working.isNull())
        return;
    pyramid_.reset(flip_->isChecked() ? mirrored(picture_.working) : picture_.working);
}

void PiceditWindow::chooseMode(int i)
{
    if (pyramid_.isNull())
        return;
    syncing_ = true;
    picstat_[i]->setChecked(true);
    // Tab stops at the mode in use, as it does once the arrows chose one;
    // otherwise it landed on "stretched" whichever mode was lit.
    for (int j = 0; j < 4; ++j)
        picstat_[j]->setFocusPolicy(j == i ? Qt::StrongFocus : Qt::ClickFocus);
    setWidgetTag(frame1_, QString::number(i));
    const bool pannable = i != int(FillMode::Stretched);
    for (QWidget* w : std::initializer_list<QWidget*>{zoom_, scrollh_, scrollv_})
        w->setEnabled(pannable);
    selectMode(framing_, FillMode(i));
    zoom_->setValue(framing_.zoom);
    syncing_ = false;
    syncBars();
    draw();
}

void PiceditWindow::zoomChanged(int value)
{
    if (syncing_)
        return;
    framing_.zoom = value;
    if (value >= kZoomBeyondMode) {
        // No mode button is lit while the picture is zoomed; choosing one
        // goes back to its plain fit.
        QRadioButton* b = picstat_[int(framing_.mode)];
        b->setAutoExclusive(false);
        b->setChecked(false);
        b->setAutoExclusive(true);
    }
    layOut(framing_);
    syncBars();
    draw();
}

void PiceditWindow::syncBars()
{
    syncing_ = true;
    // A bar's left (top) end shows the picture's left (top) edge.
    scrollh_->setRange(0, barValue(framing_.h.excess));
    scrollh_->setValue(barValue(framing_.h.excess - framing_.h.value));
    scrollv_->setRange(0, barValue(framing_.v.excess));
    scrollv_->setValue(barValue(framing_.v.excess - framing_.v.value));
    syncing_ = false;
}

void PiceditWindow::barMoved()
{
    if (syncing_)
        return;
    framing_.h.value = std::clamp<std::int64_t>(framing_.h.excess - scrollh_->value(), 0, framing_.h.excess);
    framing_.v.value = std::clamp<std::int64_t>(framing_.v.excess - scrollv_->value(), 0, framing_.v.excess);
    draw();
}

void PiceditWindow::panBy(double dxPixels, double dyPixels)
{
    if (!scrollh_->isEnabled() || !(viewScale_ > 0))
        return;
    if (nuvela::panBy(framing_, dxPixels / viewScale_, dyPixels / viewScale_)) {
        syncBars();
        draw();
    }
}

void PiceditWindow::zoomBy(int tenths)
{
    if (zoom_->isEnabled())
        zoom_->setValue(zoom_->value() + tenths);
}

void PiceditWindow::draw()
{
    if (pyramid_.isNull())
        return;
    const double drawnWidth = drawnSize(framing_).width() * viewScale_;
    shown_ = composeFramed(pyramid_.forWidth(drawnWidth), framing_, picImage_->size());
    picImage_->update();
    orginal_->update();
}

void PiceditWindow::loadOther()
{
    const auto path = program_.dialogs.openFile(this, loadpic_->caption(), pictureFilter());
    if (!path)
        return; // cancelled: the picture and its crop stay
    setWidgetTag(orginal_, *path);
    loadSource();
}

bool PiceditWindow::apply()
{
    if (pyramid_.isNull())
        return false;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const AppliedPicture applied = applyFraming(program_.dir(), widgetTag(orginal_), framing_,
                                                flip_->isChecked(), jpegQuality(program_.store));
    QApplication::restoreOverrideCursor();
    if (!applied.ok()) {
        // The writer's reason is English; Hebrew says where and what to check.
        const QString folder = leftToRight(QDir::toNativeSeparators(program_.dir() + QStringLiteral("/temppic")));
        showMessage(fillIn(uiText(program_, u"picnotapplied",
                                  QStringLiteral("לא ניתן להכין את התמונה למסגרת. בדקו שהתיקייה %1 קיימת, שיש בה "
                                                 "מקום ושמותר לכתוב בה.")),
                           {folder, applied.error}));
        return false;
    }
    program_.state.gpic[objectNumber_].tag = applied.tag;
    accept();
    return true;
}

void PiceditWindow::showMessage(const QString& text)
{
    tellError(program_, this, text);
}

void PiceditWindow::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && (event->modifiers() & Qt::ControlModifier)) {
        apply();
        return;
    }
    if (key == Qt::Key_Plus || key == Qt::Key_Equal) {
        zoomBy(kZoomKeyStep);
        return;
    }
    if (key == Qt::Key_Minus) {
        zoomBy(-kZoomKeyStep);
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace nuvela
