#include "canvas/surface.h"

#include "store/numbers.h"

#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>

#include <cmath>

#include <sys/mman.h>

namespace nuvela {

namespace {

// Huge pages of the kernel's transparent kind.
constexpr size_t kHugePage = 2 << 20;

struct PageMapping {
    void* base;
    size_t length;
};

void unmapPage(void* info)
{
    auto* m = static_cast<PageMapping*>(info);
    munmap(m->base, m->length);
    delete m;
}

/// A white-to-be page of w × h RGB32 pixels in memory of its own, in huge
/// pages where the kernel has them: a page is written whole at once, and
/// taking its memory 4 KiB at a time costs more than filling it.
QImage pageImage(int w, int h)
{
    const size_t bytes = size_t(w) * 4 * size_t(h);
    if (bytes < kHugePage)
        return QImage(w, h, QImage::Format_RGB32);
    const size_t length = (bytes + kHugePage - 1) & ~(kHugePage - 1);
    // Mapped with a huge page of slack, so that the page can start on one.
    void* raw = mmap(nullptr, length + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED)
        return {};
    const auto at = reinterpret_cast<uintptr_t>(raw);
    const uintptr_t aligned = (at + kHugePage - 1) & ~uintptr_t(kHugePage - 1);
    if (aligned > at)
        munmap(raw, aligned - at);
    if (const uintptr_t tail = at + length + kHugePage - (aligned + length); tail > 0)
        munmap(reinterpret_cast<void*>(aligned + length), tail);
    void* base = reinterpret_cast<void*>(aligned);
    madvise(base, length, MADV_HUGEPAGE);
    auto* mapping = new (std::nothrow) PageMapping{base, length};
    if (!mapping) {
        munmap(base, length);
        return {};
    }
    QImage image(static_cast<uchar*>(base), w, h, qsizetype(w) * 4, QImage::Format_RGB32, unmapPage, mapping);
    if (image.isNull())
        unmapPage(mapping);
    return image;
}

} // namespace

Surface::Surface(double scale)
    : twipsPerPixel_(kScreenTwipsPerPixel / (scale > 0 && std::isfinite(scale) ? scale : 1.0))
{
}

Surface::~Surface()
{
    endVector();
}

void Surface::setVectorTarget(QPdfWriter* writer)
{
    endVector();
    vectorWriter_ = writer;
    vectorDrawn_ = vectorCleared_ = false;
}

bool Surface::endVector()
{
    const bool ok = !vectorWriter_ || (vector_ && vector_->isActive());
    if (vector_)
        vector_->end();
    vector_.reset();
    vectorWriter_ = nullptr;
    return ok;
}

void Surface::paint(const std::function<void(QPainter&)>& draw)
{
    if (!image_.isNull()) {
        QPainter p(&image_);
        draw(p);
    }
    paintVector(draw);
}

void Surface::paintVector(const std::function<void(QPainter&)>& draw)
{
    if (!vector_ || !vector_->isActive())
        return;
    vector_->save();
    draw(*vector_);
    vector_->restore();
    vectorDrawn_ = true;
}

int Surface::toPixel(double twips) const
{
    const double px = roundHalfEven(twips / twipsPerPixel_);
    // Far outside any canvas; clamping keeps the integer conversion defined.
    return int(std::clamp(px, -1e9, 1e9));
}

QSize Surface::picturePixels(double widthTwips, double heightTwips) const
{
    const double twipsPerPixel = vectorWriter_ ? std::min(twipsPerPixel_, 1440 / kPrintDpi) : twipsPerPixel_;
    const auto side = [&](double twips) {
        return int(std::clamp(roundHalfEven(std::fabs(twips) / twipsPerPixel), 0.0, double(kMaxPixels)));
    };
    return QSize(side(widthTwips), side(heightTwips));
}

int Surface::devicePixels(int screenPixels) const
{
    return std::max(1, int(roundHalfEven(screenPixels * scale())));
}

bool Surface::resize(double widthTwips, double heightTwips, QString* error)
{
    const double w = roundHalfEven(widthTwips / twipsPerPixel_);
    const double h = roundHalfEven(heightTwips / twipsPerPixel_);
    if (!(w >= 1 && h >= 1)) {
        if (error)
            *error = QStringLiteral("The page size %1 × %2 twips is not a page.")
                         .arg(widthTwips).arg(heightTwips);
        return false;
    }
    if (w > kMaxPixels || h > kMaxPixels) {
        if (error)
            *error = QStringLiteral("The page would be %1 × %2 pixels; at most %3 × %3 are drawn.")
                         .arg(w).arg(h).arg(kMaxPixels);
        return false;
    }
    if (vectorWriter_) {
        image_ = QImage();
    } else if (image_.size() != QSize(int(w), int(h)) || image_.format() != QImage::Format_RGB32) {
        // A page of the same size (the next card of a batch) is drawn on the
        // same memory.
        QImage image = pageImage(int(w), int(h));
        if (image.isNull()) {
            if (error)
                *error = QStringLiteral("There is not enough memory for a page of %1 × %2 pixels.")
                             .arg(w).arg(h);
            return false;
        }
        image_ = std::move(image);
    }
    if (!vectorWriter_) {
        // The resolution goes with the pixels into saved pictures, which
        // then print at the page's own size (1440 twips an inch).
        const int dotsPerMeter = int(std::lround(1440.0 / twipsPerPixel_ / 0.0254));
        if (image_.dotsPerMeterX() != dotsPerMeter || image_.dotsPerMeterY() != dotsPerMeter) {
            image_.setDotsPerMeterX(dotsPerMeter);
            image_.setDotsPerMeterY(dotsPerMeter);
        }
    }
    pixels_ = QSize(int(w), int(h));
    width_ = widthTwips;
    height_ = heightTwips;
    clear();
    if (vectorWriter_)
        startVectorPage();
    return true;
}

void Surface::startVectorPage()
{
    // A PDF page exactly the canvas's size (twips are twentieths of a
    // point), without margins; the painter works in canvas pixels.
    const QSizeF points(pixels_.width() * twipsPerPixel_ / 20, pixels_.height() * twipsPerPixel_ / 20);
    vectorWriter_->setPageMargins(QMarginsF());
    vectorWriter_->setPageSize(QPageSize(points, QPageSize::Point, QString(), QPageSize::ExactMatch));
    if (vector_ && vector_->isActive()) {
        vectorWriter_->newPage();
    } else {
        vector_ = std::make_unique<QPainter>();
        if (!vector_->begin(vectorWriter_))
            return;
    }
    const double devicePerPixel = vectorWriter_->resolution() * twipsPerPixel_ / 1440.0;
    vector_->resetTransform();
    vector_->scale(devicePerPixel, devicePerPixel);
    vectorCleared_ = vectorDrawn_ = false;
}

void Surface::clear()
{
    if (!image_.isNull())
        image_.fill(Qt::white);
    pen = {};
    // Paper already printed cannot be wiped: the caller learns the PDF no
    // longer shows the page.
    if (vectorDrawn_)
        vectorCleared_ = true;
}

void Surface::drawBox(QPointF a, QPointF b)
{
    if (!hasPage())
        return;
    const int l = std::min(toPixel(a.x()), toPixel(b.x()));
    const int r = std::max(toPixel(a.x()), toPixel(b.x()));
    const int t = std::min(toPixel(a.y()), toPixel(b.y()));
    const int bt = std::max(toPixel(a.y()), toPixel(b.y()));
    paint([&](QPainter& p) {
        if (fillStyle == FillStyle::Solid)
            p.fillRect(QRect(QPoint(l, t), QPoint(r - 1, bt - 1)), fillColour);
        // The outline is a ring lineWidth pixels thick, centred on the box's
        // edge pixels (for odd widths; even widths lean inwards).
        const int lw = devicePixels(lineWidth);
        const int grow = (lw - 1) / 2;
        const QRect outer(QPoint(l - grow, t - grow), QPoint(r - 1 + grow, bt - 1 + grow));
        if (outer.width() <= 2 * lw || outer.height() <= 2 * lw) {
            p.fillRect(outer, lineColour);
            return;
        }
        p.fillRect(QRect(outer.left(), outer.top(), outer.width(), lw), lineColour);
        p.fillRect(QRect(outer.left(), outer.bottom() - lw + 1, outer.width(), lw), lineColour);
        p.fillRect(QRect(outer.left(), outer.top() + lw, lw, outer.height() - 2 * lw), lineColour);
        p.fillRect(QRect(outer.right() - lw + 1, outer.top() + lw, lw, outer.height() - 2 * lw),
                   lineColour);
    });
}

namespace {

void strokeAndFill(const QPainterPath& path, Surface& s)
{
    s.paint([&](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(s.lineColour, s.devicePixels(s.lineWidth), Qt::SolidLine, Qt::SquareCap,
                      Qt::MiterJoin));
        p.setBrush(s.fillStyle == FillStyle::Solid ? QBrush(s.fillColour) : QBrush(Qt::NoBrush));
        p.drawPath(path);
    });
}

} // namespace

void Surface::drawEllipse(QPointF centre, double radius, double aspect)
{
    if (!hasPage() || !std::isfinite(radius) || !std::isfinite(aspect) || aspect <= 0)
        return;
    const double rx = aspect <= 1 ? radius : radius / aspect;
    const double ry = aspect <= 1 ? radius * aspect : radius;
    QPainterPath path;
    path.addEllipse(QPointF(toPixels(centre.x()), toPixels(centre.y())), toPixels(rx),
                    toPixels(ry));
    strokeAndFill(path, *this);
}

void Surface::drawPolygon(const QList<QPoint>& pixels)
{
    if (!hasPage() || pixels.size() < 2)
        return;
    QPolygonF poly;
    for (const QPoint& pt : pixels)
        poly << QPointF(pt) + QPointF(0.5, 0.5);
    QPainterPath path;
    path.addPolygon(poly);
    path.closeSubpath();
    strokeAndFill(path, *this);
}

void Surface::drawPicture(const QImage& picture, const QRectF& box)
{
    if (!hasPage() || picture.isNull())
        return;
    const QPoint a = toPixel(box.topLeft());
    const QPoint b = toPixel(box.bottomRight());
    const QRect target = QRect(a, b - QPoint(1, 1)).normalized();
    if (target.isEmpty())
        return;
    paint([&](QPainter& p) {
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(target, picture);
    });
}

void Surface::drawPictureAt(const QImage& picture, QPointF topLeft)
{
    if (image_.isNull() || picture.isNull())
        return;
    // Copied at its own size (times the surface's scale) from the rounded
    // corner: rounding both corners could make it a pixel smaller, and so
    // resampled and blurred.
    const QRect target(toPixel(topLeft), QSize(qRound(picture.width() * scale()), qRound(picture.height() * scale())));
    paint([&](QPainter& p) {
        p.setRenderHint(QPainter::SmoothPixmapTransform, target.size() != picture.size());
        p.drawImage(target, picture);
    });
}

} // namespace nuvela
