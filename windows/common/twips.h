#pragma once

#include <QRectF>

class QWidget;

namespace nuvela {

/// Windows are designed in twips on a 96-dpi, 800 x 600 screen: 15 twips to a
/// pixel. Qt places widgets in whole logical pixels, so every widget also
/// carries its exact geometry in twips; scaling and the language routine work
/// on that, and repeated scaling multiplies exactly instead of piling up
/// pixel rounding.
inline constexpr double kTwipsPerPixel = 15.0;

inline constexpr double pixelsToTwips(double pixels) { return pixels * kTwipsPerPixel; }
inline constexpr double twipsToPixels(double twips) { return twips / kTwipsPerPixel; }

/// Name of the dynamic property holding a widget's exact geometry in twips
/// (a QRectF: left, top, width, height; container-relative).
inline constexpr char kTwipsGeometryProperty[] = "nuvelaTwips";

/// The widget's geometry in twips. The stored exact value while the widget
/// still stands where it put it; otherwise (moved by other code, or never set)
/// its pixel geometry converted. Left and top are the position within the
/// parent, or on the screen for a window.
QRectF twipsGeometry(const QWidget* widget);

/// Places the widget at the nearest pixels and keeps the exact value.
void setTwipsGeometry(QWidget* widget, const QRectF& twips);

} // namespace nuvela
