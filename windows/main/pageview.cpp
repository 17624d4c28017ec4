#include "windows/main/pageview.h"

#include "store/pagestate.h"
#include "windows/common/controls.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace nuvela {

PageView::PageView(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("prev"));
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
    return overlay;
}

FitResult PageView::showPage(const QImage& page)
{
    fit_ = fitPage(float(height()), float(width()), float(page.height()), float(page.width()));
    // Scaled once here with a proper filter, not at every paint.
    const QSize size(qRound(fit_.width), qRound(fit_.height));
    page_ = size.isEmpty() ? QImage() : page.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    update();
    return fit_;
}

void PageView::clearPage()
{
    page_ = QImage();
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
        return QRectF(r.x() * s + fit_.x, r.y() * s + fit_.y, r.width() * s, r.height() * s).toRect();
    };
    for (const auto& [n, box] : state.katava) {
        QLabel*& overlay = katava_[n];
        if (!overlay)
            overlay = makeOverlay("katava", n, katavaPattern_);
        overlay->setGeometry(scaled(box));
        applyHighlight(overlay);
        overlay->show();
        overlay->raise();
    }
    for (const auto& [n, picture] : state.gpic) {
        QLabel*& overlay = gpic_[n];
        if (!overlay) {
            overlay = makeOverlay("gpic", n, gpicPattern_);
            overlay->setFocusPolicy(Qt::StrongFocus);
            overlay->installEventFilter(this);
        }
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
    applyHighlight(katavaPattern_);
    for (auto& [n, overlay] : katava_)
        applyHighlight(overlay);
}

void PageView::applyHighlight(QLabel* overlay) const
{
    // Opaque overlays show their back colour: a light wash over each area
    // that can be edited.
    overlay->setAutoFillBackground(highlighted_);
    QPalette p = overlay->palette();
    p.setColor(QPalette::Window, QColor(255, 236, 140, 150));
    overlay->setPalette(p);
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

bool PageView::eventFilter(QObject* watched, QEvent* event)
{
    auto* overlay = qobject_cast<QLabel*>(watched);
    const auto index = overlay ? arrayIndex(overlay) : std::nullopt;
    if (!index || pictureOverlay(*index) != overlay)
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonRelease) {
        // The button's release over the frame is the click, as on a button.
        auto* e = static_cast<QMouseEvent*>(event);
        if (!overlay->rect().contains(e->position().toPoint()))
            return false;
        if (e->button() == Qt::RightButton)
            emit pictureRemoveRequested(*index);
        else
            emit pictureActivated(*index);
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
            emit pictureActivated(*index);
            return true;
        }
        if (key == Qt::Key_Delete) {
            emit pictureRemoveRequested(*index);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void PageView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(0xe9, 0xed, 0xf2));
    if (page_.isNull())
        return;
    const QPoint at(qRound(fit_.x), qRound(fit_.y));
    // A soft shadow under the paper.
    p.fillRect(QRect(at, page_.size()).translated(3, 3), QColor(0, 0, 0, 40));
    p.drawImage(at, page_);
}

} // namespace nuvela
