#pragma once

#include "canvas/surface.h"

#include <QFont>
#include <QString>

namespace nuvela {

/// Fonts as the page formats describe them: a face name, a character height
/// in pixels of the drawing surface and an average character width in pixels
/// (0 for the face's natural width), normal or bold. The width becomes a
/// horizontal stretch of the natural face.
struct RowFont {
    QString face;
    int height = 0; ///< pixels, the em height (a size in points × 20 ÷ twips per pixel)
    int width = 0;  ///< pixels, average character width; 0 = natural
    bool bold = false;

    QFont toQFont() const;
};

/// The character height in pixels of a surface for a size in points.
int fontHeightForSize(double points, const Surface& surface);
/// The same at a resolution of twipsPerPixel.
int fontHeightForSize(double points, double twipsPerPixel);

/// Width and height of a text in twips of the surface, in a font.
double textWidth(const QFont& font, const QString& text, const Surface& surface);
double textHeight(const QFont& font, const Surface& surface);

/// Prints text with its top-left corner at the surface's pen, turned
/// counter-clockwise by angle degrees about that corner, in the surface's
/// text colour and reading order; then moves the pen to the start of the next
/// line, one line height lower.
void printText(Surface& surface, const QFont& font, const QString& text, double angle = 0);

} // namespace nuvela
