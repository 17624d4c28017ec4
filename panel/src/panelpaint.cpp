#include "ret/panelpaint.h"

#include "ret/colors.h"
#include "ret/gradient.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <vector>

namespace ret {

QRegion roundRectRegion(int left, int top, int right, int bottom, int ellipseWidth,
                        int ellipseHeight)
{
    if (right < left)
        std::swap(left, right);
    if (bottom < top)
        std::swap(top, bottom);
    const qint64 width = qint64(right) - left;
    const qint64 height = qint64(bottom) - top;
    if (width <= 0 || height <= 0)
        return {};
    const double a = std::min<qint64>(std::abs(qint64(ellipseWidth)), width) / 2.0;
    const double b = std::min<qint64>(std::abs(qint64(ellipseHeight)), height) / 2.0;

    // How many pixels each row of a corner loses at either end: those whose
    // centre lies outside the ellipse, counted from the top (and, mirrored,
    // from the bottom).
    std::vector<qint64> insets;
    for (qint64 row = 0; b > 0 && row + 0.5 < b; ++row) {
        const double dy = (b - (row + 0.5)) / b;
        insets.push_back(roundHalfEven(a - a * std::sqrt(1.0 - dy * dy)));
    }
    const auto rows = qint64(insets.size());
    QRegion region(left, top + int(rows), int(width), int(height - 2 * rows));
    for (qint64 row = 0; row < rows; ++row) {
        const qint64 cut = insets[size_t(row)];
        if (2 * cut >= width)
            continue;
        const int x = left + int(cut);
        const int w = int(width - 2 * cut);
        region += QRect(x, top + int(row), w, 1);
        region += QRect(x, bottom - 1 - int(row), w, 1);
    }
    return region;
}

bool IconUsable(const std::optional<QPixmap>& icon)
{
    return icon && icon->height() != 0 && icon->width() != 0;
}

QRect captionRect(const PanelProperties& state, const QFontMetricsF& metrics, double surfaceWidth)
{
    const QSizeF text = metrics.size(0, state.caption);
    const double letter = metrics.horizontalAdvance(QStringLiteral("A"));
    const qint64 unit = roundHalfEven(letter);
    qint64 left;
    if (state.captionAlignment == kAlignCentre)
        left = roundHalfEven((surfaceWidth - text.width()) / 2);
    else if (state.captionAlignment == kAlignLeft)
        left = IconUsable(state.headerIcon) ? roundHalfEven(letter + state.headerHeight) : unit;
    else
        left = roundHalfEven(surfaceWidth - text.width() - double(unit));
    const qint64 top = roundHalfEven((state.headerHeight - text.height()) / 2);
    return QRect(int(left), int(top), int(roundHalfEven(text.width())),
                 int(roundHalfEven(text.height())));
}

QRect iconRect(const PanelProperties& state)
{
    const QPoint corner(state.borderThickness + 3, 2);
    if (state.iconSize != 0) // scaled one pixel less high than wide
        return QRect(corner, QSize(state.headerHeight - 2, state.headerHeight - 3));
    const QSize own = state.headerIcon ? state.headerIcon->deviceIndependentSize().toSize() : QSize();
    return QRect(corner, own);
}

void PaintBackground(QImage& surface, const PanelProperties& state, const QPalette& palette)
{
    DrawGradient(surface, surface.width(), surface.height(), TranslateColor(state.backColor2, palette),
                 TranslateColor(state.backColor1, palette), float(state.backAngle),
                 state.backMiddleOut);
}

void PaintHeader(QImage& surface, const PanelProperties& state, const QPalette& palette)
{
    if (!state.captionFont || surface.isNull())
        return;
    DrawGradient(surface, surface.width(), state.headerHeight,
                 TranslateColor(state.headerColor2, palette),
                 TranslateColor(state.headerColor1, palette), float(state.headerAngle),
                 state.headerMiddleOut);

    QPainter painter(&surface);
    painter.setFont(*state.captionFont);
    const QRect text = captionRect(state, QFontMetricsF(*state.captionFont, &surface),
                                   surface.width());
    painter.setPen(QColor(toQRgb(TranslateColor(state.captionColor, palette))));
    // Left- and top-aligned at absolute positions (a right-to-left host must
    // not mirror it), one line per line break, '&' marking a mnemonic as the
    // platform's text drawing does; clipped to the measured rectangle.
    painter.drawText(text, Qt::AlignLeft | Qt::AlignAbsolute | Qt::AlignTop | Qt::TextShowMnemonic,
                     state.caption);

    if (!IconUsable(state.headerIcon))
        return;
    const QRect icon = iconRect(state);
    if (icon.width() <= 0 || icon.height() <= 0)
        return; // a header too low for a scaled icon
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(icon, *state.headerIcon);
}

QRegion PaintBorder(QImage& surface, const PanelProperties& state, const QPalette& palette)
{
    const QRgb colour = toQRgb(TranslateColor(state.borderColor, palette));
    const int w = surface.width();
    const int h = surface.height();
    const int c = state.curvature;
    const int t = state.borderThickness;
    const QRegion outer = roundRectRegion(0, 0, w, h, c, c);
    const QRegion ring = outer.xored(roundRectRegion(t, t, w - t, h - t, c, c));
    const QRect bounds = surface.rect();
    for (const QRect& r : ring) {
        const QRect part = r.intersected(bounds);
        for (int y = part.top(); y <= part.bottom(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(surface.scanLine(y));
            std::fill(line + part.left(), line + part.left() + part.width(), colour);
        }
    }
    return outer;
}

QRegion paintPanel(QImage& surface, const PanelProperties& state, const QPalette& palette)
{
    if (surface.isNull())
        return {};
    surface.fill(palette.color(QPalette::Window));
    PaintBackground(surface, state, palette);
    if (state.headerVisible)
        PaintHeader(surface, state, palette);
    return PaintBorder(surface, state, palette);
}

QImage paintPanelForScreen(const PanelProperties& state, const QPalette& palette, QSize size,
                           qreal ratio)
{
    const auto grown = [ratio](double length) { return int(std::lround(length * ratio)); };
    PanelProperties scaled = state;
    scaled.headerHeight = grown(state.headerHeight);
    scaled.borderThickness = qint16(grown(state.borderThickness));
    scaled.curvature = grown(state.curvature);
    if (state.captionFont) {
        QFont font = *state.captionFont;
        if (font.pointSizeF() > 0)
            font.setPointSizeF(font.pointSizeF() * ratio);
        else
            font.setPixelSize(grown(font.pixelSize()));
        scaled.captionFont = font;
    }
    QImage image(grown(size.width()), grown(size.height()), QImage::Format_RGB32);
    paintPanel(image, scaled, palette);
    image.setDevicePixelRatio(ratio);
    return image;
}

} // namespace ret
