#pragma once

#include <QSize>

class QWidget;

namespace nuvela {

/// Windows are designed for a screen of 800 x 600 pixels.
inline constexpr QSize kDesignScreen(800, 600);
/// Fonts are scaled a little less than the layout, so texts keep air around them.
inline constexpr double kFontScale = 0.8;

struct ScaleFactors {
    double x = 1.0; ///< screen width / 800
    double y = 1.0; ///< screen height / 600
};

ScaleFactors scaleFactors(QSize screenPixels);

/// Stretches the window and every control on it (see controls.h) from the
/// design screen to one of `screenPixels`: left and width by x, top and
/// height by y, each font's point size by y x 0.8; the window itself last.
/// The page canvas "Pic" keeps its own size. Positions within containers
/// stay container-relative; a property that a widget lacks or refuses is
/// skipped. The window keeps no record, so scaling twice scales twice.
void ScaleWindow(QWidget* window, QSize screenPixels);
/// The same for the screen the window is on (its size in logical pixels).
void ScaleWindow(QWidget* window);

} // namespace nuvela
