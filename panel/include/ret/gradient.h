#pragma once

#include <QImage>
#include <QPoint>
#include <vector>

#include "ret/ret_global.h"

namespace ret {

/// Nearest integer, a value exactly halfway going to the even neighbour.
RET_EXPORT qint64 roundHalfEven(double value);

/// Where the one-pixel lines of a gradient lie and in which order they take
/// the colour table. Line j (0 <= j <= last) runs from lineStart(j) to
/// lineEnd(j), end point left out, in colour table entry colorIndex(j).
struct GradientLayout {
    bool steep = false; ///< lines nearer vertical: one line per column
    qint64 d = 0;       ///< how far each line leans, in pixels
    qint64 last = -1;   ///< index of the last line and the last table entry
    qint64 start = 0;   ///< table entry of line 0
    int step = 1;       ///< table entries advance by this per line
    qint64 from = 0;    ///< steep: y of every start point; else x
    qint64 to = 0;      ///< steep: y of every end point; else x

    QPoint lineStart(qint64 j) const;
    QPoint lineEnd(qint64 j) const;
    qint64 colorIndex(qint64 j) const { return start + step * j; }
};

/// The line family for a width x height area at `angle` degrees
/// (counter-clockwise on screen from the horizontal).
RET_EXPORT GradientLayout gradientLayout(qint32 width, qint32 height, float angle);

/// Entry i of the colour ramp with entries 0..last running from colour a to
/// colour b (both 0x00BBGGRR). A ramp with a single entry is colour a.
RET_EXPORT qint32 rampColor(qint32 a, qint32 b, qint64 i, qint64 last);

/// Which ramp entry table entry k holds. Middle-out tables take the even
/// ramp entries ascending and then the odd ones descending, so they start
/// and end with the first colour and have the second in the middle.
RET_EXPORT qint64 tableEntry(qint64 k, qint64 last, bool middleOut);

/// The whole colour table (entries 0..last), for callers that want it at once.
RET_EXPORT std::vector<qint32> colorTable(qint32 a, qint32 b, qint64 last, bool middleOut);

/// Fills `surface` with the gradient's line family: colour a at the start,
/// b at the end (both 0x00BBGGRR), lines laid at `angle` degrees from the
/// surface's top-left corner over width x height pixels. The lines are not
/// clipped to that area, only to the surface (a slanted band reaches below
/// itself). An area without width or height draws nothing. The surface must
/// have 32 bits per pixel; other surfaces are left alone.
RET_EXPORT void DrawGradient(QImage& surface, qint32 width, qint32 height, qint32 a, qint32 b,
                             float angle, bool middleOut);

/// The same picture drawn one line after the other; slow, kept as the
/// yardstick for DrawGradient.
RET_EXPORT void drawGradientLineByLine(QImage& surface, qint32 width, qint32 height, qint32 a,
                                       qint32 b, float angle, bool middleOut);

/// A one-pixel line from `from` towards `to`, leaving out the end point, as
/// a platform line draw does. Pixels outside the surface are skipped.
RET_EXPORT void drawLine(QImage& surface, QPoint from, QPoint to, QRgb colour);

} // namespace ret
