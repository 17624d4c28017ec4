#pragma once

#include <QImage>
#include <QRectF>
#include <QSizeF>

#include <cstdint>

namespace nuvela {

/// How a picture fills its frame, as the editor's mode buttons `picstat`
/// number them.
enum class FillMode : int {
    Stretched = 0, ///< "מתוח": distorted over the whole frame
    FitHeight = 1, ///< "מותאם לגובה": as high as the frame, excess left and right
    FitWidth = 2,  ///< "מותאם לרוחב": as wide as the frame, excess above and below
    Centred = 3,   ///< "במרכז": the whole picture inside the frame
};

/// Zoom in tenths: 10 draws the picture at the size its mode gives.
inline constexpr int kZoomMinimum = 10;
/// Below this zoom every layout centres the picture again.
inline constexpr int kZoomRecentre = 12;

/// One pan direction. The position runs from 0 to the picture's excess over
/// the view in that direction; excess / 2 shows the picture centred,
/// the excess itself shows its left (top) edge and 0 its right (bottom) edge.
/// 64 bits: a photo tens of thousands of twips wide at full zoom still pans
/// to both edges.
struct PanRange {
    std::int64_t excess = 0;
    std::int64_t value = 0;
};

/// Everything that decides what the frame shows. All lengths are twips:
/// the view is the frame (`picdim` width and height), the source is the
/// picture at its own size (15 twips to a pixel of the full-resolution file).
struct Framing {
    QSizeF view;
    QSizeF source;
    FillMode mode = FillMode::FitHeight;
    int zoom = kZoomMinimum;
    PanRange h, v;

    double aspect() const { return source.height() > 0 ? source.width() / source.height() : 1.0; }
};

/// The upper end of the zoom bar: ten times the picture's width over the
/// view's, rounded; a picture narrower than the view gets 20 minus that, so
/// the maximum never falls below the minimum 10.
int zoomMaximum(double sourceWidth, double viewWidth);

/// The mode a new picture starts in: the picture covers the frame and its
/// excess lies in the direction that can be panned (relatively taller than
/// the frame: fit to width, else fit to height).
FillMode defaultMode(QSizeF source, QSizeF view);

/// The size the picture is drawn at (zw × zh) for the mode and zoom.
QSizeF drawnSize(const Framing& f);

/// New pan ranges after a change of mode or zoom: each is the drawn
/// picture's excess over the view. Below zoom 12 both positions centre;
/// from 12 on each keeps its relative place (a range that was empty counts as
/// centred). Stretched pictures keep their ranges untouched.
void layOut(Framing& f);

/// Choosing a mode: any mode but stretched starts again at zoom 10; then
/// the layout.
void selectMode(Framing& f, FillMode mode);

/// Moves the picture by (dx, dy) twips within its pan ranges (a drag: the
/// picture follows the pointer). Returns whether a position changed.
bool panBy(Framing& f, double dx, double dy);

/// Where the picture lands in the view (twips): its top-left corner and
/// drawn size. Whatever falls outside the view is the crop.
QRectF drawRect(const Framing& f);

/// Paints the framed picture into an image of `pixels`, the view scaled to
/// it: white where the picture does not reach. `picture` is the source at
/// any resolution (already mirrored when it should be).
QImage composeFramed(const QImage& picture, const Framing& f, QSize pixels);

/// A picture mirrored left to right.
QImage mirrored(const QImage& picture);

} // namespace nuvela
