#include "ret/gradient.h"

#include "ret/colors.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace ret {

qint64 roundHalfEven(double value)
{
    if (std::isnan(value))
        return 0;
    // Far outside every size a surface can have; keeps the conversion defined.
    constexpr double kLimit = 4.0e18;
    return qint64(std::nearbyint(std::clamp(value, -kLimit, kLimit)));
}

namespace {

// Offset along the minor axis of pixel `i` of a line that moves `minor`
// pixels while it moves `major`: the exact position rounded, halves to even.
qint64 minorOffset(qint64 minor, qint64 i, qint64 major)
{
    const qint64 num = minor * i;
    qint64 q = num / major;
    const qint64 twiceRest = 2 * (num % major);
    if (twiceRest > major || (twiceRest == major && (q & 1)))
        ++q;
    return q;
}

int channel(qint32 rgb, int shift) { return int((quint32(rgb) >> shift) & 0xFFu); }

// Colours of the lines first..lastLine, in line order, as pixels.
std::vector<QRgb> lineColours(const GradientLayout& layout, qint32 a, qint32 b, bool middleOut,
                              qint64 first, qint64 lastLine)
{
    std::vector<QRgb> colours;
    if (lastLine < first)
        return colours;
    colours.reserve(size_t(lastLine - first + 1));
    for (qint64 j = first; j <= lastLine; ++j) {
        const qint64 entry = tableEntry(layout.colorIndex(j), layout.last, middleOut);
        colours.push_back(toQRgb(rampColor(a, b, entry, layout.last)));
    }
    return colours;
}

bool drawable(const QImage& surface, qint32 width, qint32 height)
{
    return width > 0 && height > 0 && !surface.isNull() && surface.depth() == 32;
}

} // namespace

QPoint GradientLayout::lineStart(qint64 j) const
{
    return steep ? QPoint(int(j - d), int(from)) : QPoint(int(from), int(j - d));
}

QPoint GradientLayout::lineEnd(qint64 j) const
{
    return steep ? QPoint(int(j), int(to)) : QPoint(int(to), int(j));
}

GradientLayout gradientLayout(qint32 width, qint32 height, float angle)
{
    GradientLayout g;
    qint64 a = roundHalfEven(angle) % 360;
    if (a < 0)
        a += 360;
    const qint64 quadrant = a / 90;
    const qint64 boundary = (quadrant + 1) * 90;
    const bool odd = quadrant % 2 != 0;
    g.steep = odd ? (boundary - a > 45) : !(boundary - a > 45);
    // The angle in radians is kept in single precision, and its tangent is
    // taken of that value: at 90 and 270 degrees it is huge, not infinite.
    const float radians = float(double(a) * std::atan(1.0) / 45.0);
    const double tangent = std::abs(std::tan(double(radians)));
    if (g.steep) {
        g.d = radians != 0.0f ? roundHalfEven(double(height) / tangent) : 0;
        g.last = g.d + width - 1;
        g.from = odd ? 0 : height - 1;
        g.to = g.from != 0 ? -1 : height;
        if (quadrant > 1) {
            g.start = g.last;
            g.step = -1;
        }
    } else {
        g.d = roundHalfEven(tangent * double(width));
        g.last = g.d + height - 1;
        g.from = odd ? 0 : width - 1;
        g.to = g.from != 0 ? -1 : width;
        if (quadrant == 1 || quadrant == 2) {
            g.start = g.last;
            g.step = -1;
        }
    }
    return g;
}

qint32 rampColor(qint32 a, qint32 b, qint64 i, qint64 last)
{
    if (last <= 0)
        return a;
    const float t = float(i) / float(last);
    const float u = 1.0f - t;
    qint32 rgb = 0;
    for (int shift : {0, 8, 16}) {
        const double value = double(channel(b, shift)) * t + double(channel(a, shift)) * u;
        rgb |= qint32(std::clamp<qint64>(roundHalfEven(value), 0, 255) << shift);
    }
    return rgb;
}

qint64 tableEntry(qint64 k, qint64 last, bool middleOut)
{
    if (!middleOut)
        return k;
    const qint64 evens = last / 2 + 1;
    if (k < evens)
        return 2 * k;
    const qint64 largestOdd = last % 2 != 0 ? last : last - 1;
    return largestOdd - 2 * (k - evens);
}

std::vector<qint32> colorTable(qint32 a, qint32 b, qint64 last, bool middleOut)
{
    std::vector<qint32> table;
    for (qint64 k = 0; k <= last; ++k)
        table.push_back(rampColor(a, b, tableEntry(k, last, middleOut), last));
    return table;
}

void drawLine(QImage& surface, QPoint from, QPoint to, QRgb colour)
{
    const qint64 dx = qint64(to.x()) - from.x();
    const qint64 dy = qint64(to.y()) - from.y();
    const qint64 major = std::max(std::abs(dx), std::abs(dy));
    const bool xMajor = std::abs(dx) >= std::abs(dy);
    const int sx = dx < 0 ? -1 : 1;
    const int sy = dy < 0 ? -1 : 1;
    for (qint64 i = 0; i < major; ++i) {
        const qint64 x = from.x() + sx * (xMajor ? i : minorOffset(std::abs(dx), i, major));
        const qint64 y = from.y() + sy * (xMajor ? minorOffset(std::abs(dy), i, major) : i);
        if (x >= 0 && y >= 0 && x < surface.width() && y < surface.height())
            reinterpret_cast<QRgb*>(surface.scanLine(int(y)))[x] = colour;
    }
}

void drawGradientLineByLine(QImage& surface, qint32 width, qint32 height, qint32 a, qint32 b,
                            float angle, bool middleOut)
{
    if (!drawable(surface, width, height))
        return;
    const GradientLayout g = gradientLayout(width, height, angle);
    const std::vector<QRgb> colours = lineColours(g, a, b, middleOut, 0, g.last);
    for (qint64 j = 0; j <= g.last; ++j)
        drawLine(surface, g.lineStart(j), g.lineEnd(j), colours[size_t(j)]);
}

// Every line of a family is its neighbour moved by one pixel, so instead of
// walking the lines one at a time the family is drawn row by row: a row of a
// steep family is a run of consecutive lines, a row of a shallow family
// takes line (row + d - offset of its column). Each pixel gets the colour the
// line-by-line drawing gives it.
void DrawGradient(QImage& surface, qint32 width, qint32 height, qint32 a, qint32 b, float angle,
                  bool middleOut)
{
    if (!drawable(surface, width, height))
        return;
    const GradientLayout g = gradientLayout(width, height, angle);
    const qint64 surfaceWidth = surface.width();
    const qint64 surfaceHeight = surface.height();

    if (g.steep) {
        // Row y holds pixel i of every line (i counted from the start row),
        // shifted right by the line's offset at that pixel.
        const qint64 rows = std::min<qint64>(height, surfaceHeight);
        const bool down = g.to > g.from;
        std::vector<qint64> firstLine(static_cast<size_t>(rows));
        for (qint64 y = 0; y < rows; ++y) {
            const qint64 i = down ? y - g.from : g.from - y;
            firstLine[size_t(y)] = g.d - minorOffset(g.d, i, height);
        }
        const auto [lo, hi] = std::minmax_element(firstLine.begin(), firstLine.end());
        const qint64 lowest = *lo;
        const qint64 highest = std::min(g.last, *hi + surfaceWidth - 1);
        const std::vector<QRgb> colours = lineColours(g, a, b, middleOut, lowest, highest);
        for (qint64 y = 0; y < rows; ++y) {
            const qint64 j = firstLine[size_t(y)];
            const qint64 count = std::min(surfaceWidth, g.last - j + 1);
            if (count <= 0)
                continue;
            std::copy_n(colours.begin() + (j - lowest), count,
                        reinterpret_cast<QRgb*>(surface.scanLine(int(y))));
        }
        return;
    }

    // Shallow family: column x holds pixel i of every line, moved down by
    // the line's offset there; lines continue below the band by up to d.
    const qint64 columns = std::min<qint64>(width, surfaceWidth);
    const bool right = g.to > g.from;
    std::vector<qint64> offset(static_cast<size_t>(columns));
    for (qint64 x = 0; x < columns; ++x) {
        const qint64 i = right ? x - g.from : g.from - x;
        offset[size_t(x)] = minorOffset(g.d, i, width);
    }
    const auto [lo, hi] = std::minmax_element(offset.begin(), offset.end());
    const qint64 rows = std::min(surfaceHeight, qint64(height) + g.d);
    const qint64 lowest = std::max<qint64>(0, g.d - *hi);
    const qint64 highest = std::min(g.last, rows - 1 + g.d - *lo);
    const std::vector<QRgb> colours = lineColours(g, a, b, middleOut, lowest, highest);
    // Column x of row y takes colours[y + index[x]].
    std::vector<qint32> index(static_cast<size_t>(columns));
    for (qint64 x = 0; x < columns; ++x)
        index[size_t(x)] = qint32(g.d - offset[size_t(x)] - lowest);
    const QRgb* table = colours.data();
    for (qint64 y = 0; y < rows; ++y) {
        auto* line = reinterpret_cast<QRgb*>(surface.scanLine(int(y)));
        if (y < height) {
            for (qint64 x = 0; x < columns; ++x)
                line[x] = table[y + index[size_t(x)]];
        } else {
            // Below the band only lines that started inside it reach.
            for (qint64 x = 0; x < columns; ++x) {
                if (y + g.d - offset[size_t(x)] <= g.last)
                    line[x] = table[y + index[size_t(x)]];
            }
        }
    }
}

} // namespace ret
