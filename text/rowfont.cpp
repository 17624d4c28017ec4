#include "text/rowfont.h"

#include "store/numbers.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace nuvela {

namespace {
// Glyphs beyond this height (pixels) are no longer text on a page; the cap
// keeps a template's absurd size from costing unbounded glyph work.
constexpr int kMaxFontPixels = 16384;
// Qt's stretch range, in percent of the natural width.
constexpr int kMinStretch = 1, kMaxStretch = 4000;
} // namespace

QFont RowFont::toQFont() const
{
    QFont f(face);
    f.setPixelSize(std::clamp(height, 1, kMaxFontPixels));
    f.setWeight(bold ? QFont::Bold : QFont::Normal);
    // The face's own kerning and hinting would make widths depend on the
    // resolution; pages must measure the same at every scale.
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setKerning(true);
    if (width > 0) {
        const double natural = QFontMetricsF(f).averageCharWidth();
        if (natural > 0) {
            const double stretch = roundHalfEven(100.0 * width / natural);
            f.setStretch(int(std::clamp(stretch, double(kMinStretch), double(kMaxStretch))));
        }
    }
    return f;
}

int fontHeightForSize(double points, double twipsPerPixel)
{
    const double px = roundHalfEven(std::fabs(points) * 20 / twipsPerPixel);
    if (px < 1) // the platform's default height, 12 points
        return int(roundHalfEven(240 / twipsPerPixel));
    return int(std::min(px, double(kMaxFontPixels)));
}

int fontHeightForSize(double points, const Surface& surface)
{
    return fontHeightForSize(points, surface.twipsPerPixel());
}

double textWidth(const QFont& font, const QString& text, const Surface& surface)
{
    return surface.toTwips(QFontMetricsF(font).horizontalAdvance(text));
}

double textHeight(const QFont& font, const Surface& surface)
{
    return surface.toTwips(QFontMetricsF(font).height());
}

void printText(Surface& surface, const QFont& font, const QString& text, double angle)
{
    const QFontMetricsF metrics(font);
    if (!text.isEmpty() && surface.hasPage()) {
        // The pen is the text's left edge in both reading orders.
        const int flags = Qt::AlignLeft | Qt::AlignAbsolute | Qt::AlignTop | Qt::TextSingleLine
            | Qt::TextDontClip
            | (surface.rightToLeft ? Qt::TextForceRightToLeft : Qt::TextForceLeftToRight);
        const QRectF box(0, 0, metrics.horizontalAdvance(text), metrics.height());
        const QPointF at(surface.toPixels(surface.pen.x()), surface.toPixels(surface.pen.y()));
        surface.paint([&](QPainter& p) {
            p.setRenderHint(QPainter::TextAntialiasing);
            p.setFont(font);
            p.setPen(surface.textColour);
            p.translate(at);
            if (angle != 0)
                p.rotate(-angle); // counter-clockwise on screen
            p.drawText(box, flags, text);
        });
    }
    surface.pen = QPointF(0, surface.pen.y() + surface.toTwips(metrics.height()));
}

} // namespace nuvela
