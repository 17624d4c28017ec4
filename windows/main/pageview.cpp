#include "windows/main/pageview.h"

#include "store/numbers.h"
#include "store/pagestate.h"
#include "windows/common/controls.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPainter>

#include <algorithm>

namespace nuvela {

namespace {
// Marks a text overlay while "highlight editing areas" is ticked.
constexpr char kWashedProperty[] = "nuvelaWashed";
// The highlight's yellow, multiplied onto the page: what white becomes.
const QColor kWash(255, 236, 140);
} // namespace

PageView::PageView(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("prev"));
    setMouseTracking(true);
    katavaPattern_ = makeOverlay("katava", 0, nullptr);
    katavaPattern_->setToolTip(QStringLiteral("לחץ לעריכת טקסט"));
    gpicPattern_ = makeOverlay("gpic", 0, nullptr);
    gpicPattern_->setToolTip(QStringLiteral("לחץ להוספת תמונה"));
    katavaPattern_->hide();
    gpicPattern_->hide();
}

QLabel* PageView::makeOverlay(const char* name, int n, QLabel* pattern)
{
    auto* overlay = new QLabel(this);
    makeArrayElement(overlay, QString::fromLatin1(name), n);
    // A loaded element starts as a copy of its pattern: same tool tip.
    if (pattern)
        overlay->setToolTip(pattern->toolTip());
    overlay->setAttribute(Qt::WA_Hover);
    if (pattern) {
        // Overlays are the page's controls: reachable by Tab, with a hand
        // pointer, a raised border while hovered or focused.
        overlay->setFocusPolicy(Qt::StrongFocus);
        overlay->setCursor(Qt::PointingHandCursor);
        overlay->installEventFilter(this);
        QPalette p = overlay->palette();
        p.setColor(QPalette::Light, QColor(120, 165, 235));
        p.setColor(QPalette::Dark, QColor(25, 70, 160));
        p.setColor(QPalette::Mid, QColor(60, 110, 200));
        overlay->setPalette(p);
    }
    if (qstrcmp(name, "gpic") == 0)
        overlay->setProperty(kToolkitTypeProperty, QStringLiteral("Image")); // a language leaves its direction alone
    return overlay;
}

FitResult PageView::showPage(const QImage& page)
{
    fit_ = fitPage(float(height()), float(width()), float(page.height()), float(page.width()));
    page_ = page;
    shown_ = QImage();
    update();
    return fit_;
}

void PageView::clearPage()
{
    page_ = QImage();
    shown_ = QImage();
    update();
}

double PageView::overlayScale(double pageWidthTwips, double pageHeightTwips) const
{
    if (!(pageWidthTwips > 0) || !(pageHeightTwips > 0))
        return 0;
    if (fit_.height == float(height()))
        return height() / pageHeightTwips;
    return width() / pageWidthTwips;
}

void PageView::placeOverlays(const PageState& state, double s)
{
    auto scaled = [&](const QRectF& r) {
        // Each of the four is rounded on its own, halves to even: rounding the
        // corners instead makes a third of the overlays a pixel too large.
        return QRect(int(roundHalfEven(r.x() * s + fit_.x)), int(roundHalfEven(r.y() * s + fit_.y)),
                     int(roundHalfEven(r.width() * s)), int(roundHalfEven(r.height() * s)));
    };
    for (const auto& [n, box] : state.katava) {
        QLabel*& overlay = katava_[n];
        if (!overlay) {
            overlay = makeOverlay("katava", n, katavaPattern_);
            // New overlays (another template, the logo text switched) show
            // what the ticked box promises, not only after it is clicked again.
            applyHighlight(overlay, highlighted_);
        }
        overlay->setGeometry(scaled(box));
        overlay->show();
        overlay->raise();
    }
    for (const auto& [n, picture] : state.gpic) {
        QLabel*& overlay = gpic_[n];
        if (!overlay)
            overlay = makeOverlay("gpic", n, gpicPattern_);
        overlay->setGeometry(scaled(picture.box));
        overlay->setVisible(picture.visible);
        if (picture.visible)
            overlay->raise();
    }
}

void PageView::removeOverlays()
{
    for (auto& [n, overlay] : katava_)
        delete overlay;
    for (auto& [n, overlay] : gpic_)
        delete overlay;
    katava_.clear();
    gpic_.clear();
    katavaPattern_->hide();
}

void PageView::removeTextOverlay(int n)
{
    if (auto it = katava_.find(n); it != katava_.end()) {
        delete it->second;
        katava_.erase(it);
    }
}

void PageView::setHighlighted(bool on)
{
    highlighted_ = on;
    applyHighlight(katavaPattern_, on);
    for (auto& [n, overlay] : katava_)
        applyHighlight(overlay, on);
}

void PageView::applyHighlight(QLabel* overlay, bool on) const
{
    // A wash over each area that can be edited, painted by the overlay
    // itself (eventFilter): the page shows through, its text as dark as ever.
    overlay->setProperty(kWashedProperty, on);
    overlay->update();
}

QLabel* PageView::textOverlay(int n) const
{
    if (n == 0)
        return katavaPattern_;
    const auto it = katava_.find(n);
    return it == katava_.end() ? nullptr : it->second;
}

QLabel* PageView::pictureOverlay(int n) const
{
    if (n == 0)
        return gpicPattern_;
    const auto it = gpic_.find(n);
    return it == gpic_.end() ? nullptr : it->second;
}

QList<QLabel*> PageView::overlaysInOrder() const
{
    std::map<int, QLabel*> all;
    for (const auto& [n, overlay] : gpic_)
        if (overlay->isVisibleTo(const_cast<PageView*>(this)))
            all[n] = overlay;
    for (const auto& [n, overlay] : katava_)
        if (overlay->isVisibleTo(const_cast<PageView*>(this)))
            all[n] = overlay;
    QList<QLabel*> out;
    for (const auto& [n, overlay] : all)
        out << overlay;
    return out;
}

void PageView::setRaised(QLabel* overlay, bool raised)
{
    if (!overlay)
        return;
    overlay->setFrameStyle(raised ? QFrame::Panel | QFrame::Raised : QFrame::NoFrame);
    overlay->setLineWidth(raised ? 3 : 0);
}

void PageView::hover(QLabel* overlay)
{
    const int j = hovered_;
    if (j >= 0) {
        setRaised(textOverlay(j), false);
        setRaised(pictureOverlay(j), false);
    }
    hovered_ = arrayIndex(overlay).value_or(-1);
    setProperty("Tag", QString::number(hovered_));
    setRaised(overlay, true);
}

bool PageView::eventFilter(QObject* watched, QEvent* event)
{
    auto* overlay = qobject_cast<QLabel*>(watched);
    if (!overlay || overlay == katavaPattern_ || overlay == gpicPattern_)
        return QWidget::eventFilter(watched, event);
    const int n = arrayIndex(overlay).value_or(-1);
    const bool text = textOverlay(n) == overlay;
    switch (event->type()) {
    case QEvent::Paint:
        if (overlay->property(kWashedProperty).toBool()) {
            // Multiplied onto the page beneath: white turns yellow, black
            // stays black; the label's own border follows on top.
            QPainter p(overlay);
            p.setCompositionMode(QPainter::CompositionMode_Multiply);
            p.fillRect(overlay->rect(), kWash);
        }
        break;
    case QEvent::Enter:
    case QEvent::FocusIn:
        hover(overlay);
        break;
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (!overlay->rect().contains(mouse->position().toPoint()))
            break;
        if (mouse->button() == Qt::LeftButton)
            text ? emit textActivated(n) : emit pictureActivated(n);
        else if (mouse->button() == Qt::RightButton && !text)
            emit pictureRemoveRequested(n);
        return true;
    }
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() & ~Qt::KeypadModifier)
            break;
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->key() == Qt::Key_Space) {
            text ? emit textActivated(n) : emit pictureActivated(n);
            return true;
        }
        if (key->key() == Qt::Key_Delete && !text) {
            emit pictureRemoveRequested(n);
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void PageView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(0xe9, 0xed, 0xf2));
    const QRect paper(qRound(fit_.x), qRound(fit_.y), qRound(fit_.width), qRound(fit_.height));
    if (page_.isNull() || paper.isEmpty())
        return;
    // Scaled with a proper filter once for the pixels it lands on (those of
    // the backing store, more than the view's on a scaled screen), not at
    // every paint: scaled to the view's and then blown up it reads blurred.
    const QPaintDevice* target = p.paintEngine() ? p.paintEngine()->paintDevice() : nullptr;
    const qreal ratio = target ? target->devicePixelRatioF() : devicePixelRatioF();
    if (shown_.isNull() || shown_.devicePixelRatioF() != ratio) {
        shown_ = page_.scaled(paper.size() * ratio, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        shown_.setDevicePixelRatio(ratio);
    }
    // A soft shadow under the paper.
    p.fillRect(paper.translated(3, 3), QColor(0, 0, 0, 40));
    p.drawImage(paper.topLeft(), shown_);
}

} // namespace nuvela
