#include "windows/picedit/framing.h"

#include "store/numbers.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace nuvela {

namespace {

// Far beyond any zoom a frame can use, small enough for a scroll bar.
constexpr int kZoomCeiling = 100000;

std::int64_t rounded(double v) { return std::int64_t(roundHalfEven(v)); }

/// The new position of one pan direction whose excess becomes `excess`.
void rescale(PanRange& r, double excess, bool recentre)
{
    const std::int64_t newExcess = rounded(std::abs(excess));
    if (recentre || r.excess == 0)
        r.value = rounded(newExcess / 2.0);
    else
        r.value = rounded(double(r.value) * std::abs(excess) / double(r.excess));
    r.excess = newExcess;
    r.value = std::clamp<std::int64_t>(r.value, 0, r.excess);
}

bool move(PanRange& r, double by)
{
    const std::int64_t before = r.value;
    r.value = std::clamp<std::int64_t>(rounded(double(r.value) + by), 0, r.excess);
    return r.value != before;
}

} // namespace

int zoomMaximum(double sourceWidth, double viewWidth)
{
    if (!(viewWidth > 0) || !(sourceWidth >= 0))
        return kZoomMinimum;
    const double m = roundHalfEven(std::min(10.0 * sourceWidth / viewWidth, double(kZoomCeiling)));
    return m < kZoomMinimum ? int(2 * kZoomMinimum - m) : int(m);
}

FillMode defaultMode(QSizeF source, QSizeF view)
{
    if (view.isEmpty() || source.isEmpty())
        return FillMode::FitHeight;
    const double rW = source.width() / view.width();
    const double rH = source.height() / view.height();
    return rW < rH ? FillMode::FitWidth : FillMode::FitHeight;
}

QSizeF drawnSize(const Framing& f)
{
    const double z = f.zoom / 10.0, a = f.aspect();
    double zw = f.view.width() * z, zh = f.view.height() * z;
    switch (f.mode) {
    case FillMode::Stretched:
        return f.view;
    case FillMode::FitHeight:
        zw = a * zh;
        break;
    case FillMode::FitWidth:
        zh = zw / a;
        break;
    case FillMode::Centred:
        if (zh > 0 && zw / zh <= a)
            zh = zw / a;
        else
            zw = a * zh;
        break;
    }
    return {zw, zh};
}

void layOut(Framing& f)
{
    if (f.mode == FillMode::Stretched)
        return;
    // The centred picture pans over its own excess too, not over whatever
    // range the previous mode left behind.
    const QSizeF z = drawnSize(f);
    const bool recentre = f.zoom < kZoomRecentre;
    rescale(f.h, z.width() - f.view.width(), recentre);
    rescale(f.v, z.height() - f.view.height(), recentre);
}

void selectMode(Framing& f, FillMode mode)
{
    f.mode = mode;
    if (mode != FillMode::Stretched)
        f.zoom = kZoomMinimum;
    layOut(f);
}

bool panBy(Framing& f, double dx, double dy)
{
    if (f.mode == FillMode::Stretched)
        return false;
    const bool h = move(f.h, dx);
    const bool v = move(f.v, dy);
    return h || v;
}

QRectF drawRect(const Framing& f)
{
    if (f.mode == FillMode::Stretched)
        return QRectF(QPointF(0, 0), f.view);
    const QSizeF z = drawnSize(f);
    const double dx = double(f.h.value) - double(f.h.excess) / 2;
    const double dy = roundHalfEven(double(f.v.value) - double(f.v.excess) / 2);
    return QRectF((f.view.width() - z.width()) / 2 + dx, (f.view.height() - z.height()) / 2 + dy,
                  z.width(), z.height());
}

QImage composeFramed(const QImage& picture, const Framing& f, QSize pixels)
{
    QImage out(pixels, QImage::Format_RGB32);
    out.fill(Qt::white);
    if (picture.isNull() || f.view.isEmpty() || pixels.isEmpty())
        return out;
    const double sx = pixels.width() / f.view.width(), sy = pixels.height() / f.view.height();
    const QRectF r = drawRect(f);
    QPainter p(&out);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(QRectF(r.x() * sx, r.y() * sy, r.width() * sx, r.height() * sy), picture);
    return out;
}

QImage mirrored(const QImage& picture) { return picture.mirrored(true, false); }

} // namespace nuvela
