#include "windows/common/twips.h"

#include "store/numbers.h"

#include "windows/common/textvalue.h"

#include <QRect>
#include <QVariant>
#include <QWidget>

namespace nuvela {

namespace {
int wholePixels(double pixels) { return int(roundHalfEven(pixels)); }
} // namespace

namespace {

QRect nearestPixels(const QRectF& twips)
{
    return QRect(wholePixels(twipsToPixels(twips.x())), wholePixels(twipsToPixels(twips.y())),
                 wholePixels(twipsToPixels(twips.width())),
                 wholePixels(twipsToPixels(twips.height())));
}

// pos() is the frame position for windows and the parent-relative position
// for children; size() is the inner size in both cases; move() and resize()
// take the same values back.
QRect pixelGeometry(const QWidget* widget) { return QRect(widget->pos(), widget->size()); }

} // namespace

QRectF twipsGeometry(const QWidget* widget)
{
    const QVariant stored = widget->property(kTwipsGeometryProperty);
    const QRect pixels = pixelGeometry(widget);
    if (stored.typeId() == QMetaType::QRectF) {
        const QRectF twips = stored.toRectF();
        if (nearestPixels(twips) == pixels)
            return twips;
    }
    return QRectF(pixelsToTwips(pixels.x()), pixelsToTwips(pixels.y()),
                  pixelsToTwips(pixels.width()), pixelsToTwips(pixels.height()));
}

void setTwipsGeometry(QWidget* widget, const QRectF& twips)
{
    const QRect pixels = nearestPixels(twips);
    widget->move(pixels.topLeft());
    widget->resize(pixels.size().expandedTo(QSize(0, 0)));
    widget->setProperty(kTwipsGeometryProperty, twips);
}

} // namespace nuvela
