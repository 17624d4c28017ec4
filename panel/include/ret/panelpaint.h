#pragma once

#include <QFontMetricsF>
#include <QImage>
#include <QPalette>
#include <QRect>
#include <QRegion>
#include <optional>

#include "ret/ret_global.h"
#include "ret/state.h"

namespace ret {

/// The pixels from (left, top) up to but not including (right, bottom), each
/// corner cut by a quarter of an ellipse `ellipseWidth` wide and
/// `ellipseHeight` high: a rounded-rectangle region. Swapped edges are put
/// in order; the ellipse is at most as large as the rectangle.
RET_EXPORT QRegion roundRectRegion(int left, int top, int right, int bottom, int ellipseWidth,
                                   int ellipseHeight);

/// True when there is an icon and it has both a height and a width.
RET_EXPORT bool IconUsable(const std::optional<QPixmap>& icon);

/// The rectangle the caption is drawn into, measured with `metrics` on a
/// surface `surfaceWidth` pixels wide.
RET_EXPORT QRect captionRect(const PanelProperties& state, const QFontMetricsF& metrics,
                             double surfaceWidth);

/// Where the header icon goes and at what size.
RET_EXPORT QRect iconRect(const PanelProperties& state);

/// Background gradient over the whole surface.
RET_EXPORT void PaintBackground(QImage& surface, const PanelProperties& state,
                                const QPalette& palette);

/// Header band, caption and icon; nothing at all without a caption font.
RET_EXPORT void PaintHeader(QImage& surface, const PanelProperties& state,
                            const QPalette& palette);

/// Border ring; returns the outer rounded region, which the panel makes
/// its window shape.
RET_EXPORT QRegion PaintBorder(QImage& surface, const PanelProperties& state,
                               const QPalette& palette);

/// The whole picture of a panel, as its repaint draws it: the surface
/// cleared, the background, the header when visible, the border. Returns
/// the window shape.
RET_EXPORT QRegion paintPanel(QImage& surface, const PanelProperties& state,
                              const QPalette& palette);

/// The same picture for a screen of `ratio` device pixels per pixel: every
/// length of the state (header, border, corners, caption font) grows by the
/// ratio, so that the panel shows crisp where its kept picture, blown up,
/// would blur. The image carries the ratio.
RET_EXPORT QImage paintPanelForScreen(const PanelProperties& state, const QPalette& palette,
                                      QSize size, qreal ratio);

} // namespace ret
