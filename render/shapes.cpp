// The shape drawers: rectangles ("malben"), ellipses ("circle"), star
// polygons ("polygon") and right triangles ("triangle").

#include "canvas/boxes.h"
#include "canvas/colour.h"
#include "render/drawers.h"
#include "store/numbers.h"

#include <cmath>

namespace nuvela {

namespace {

// A star has 2 × points vertices; more than this many is not a drawing any
// template needs, and would only cost memory.
constexpr double kMaxStarVertices = 2000;
// The angle step is a full turn divided by the vertex count, with the turn
// written to the precision the pages were designed with.
constexpr double kFullTurn = 6.2831853;

QPoint pixelPoint(const Surface& canvas, double x, double y)
{
    return canvas.toPixel(QPointF(x, y));
}

} // namespace

DrawStatus DrawRectangle(PageContext& page, int n) { return drawObjectBox(page, n, false); }

DrawStatus DrawEllipse(PageContext& page, int n)
{
    Surface& canvas = page.canvas;
    const auto box = Fields(page.objectKey(n, u"circdim")).box();
    applyFill(canvas, parseColour(page.objectKey(n, u"FILLCOLOR")));
    applyBorder(page, n);
    if (box && box->w > 0 && box->h > 0) {
        const double r = roundHalfEven(box->w > box->h ? box->w / 2 : box->h / 2);
        canvas.drawEllipse({box->x + box->w / 2, box->y + box->h / 2}, r, box->h / box->w);
    }
    canvas.lineWidth = 1;
    return {};
}

DrawStatus DrawStar(PageContext& page, int n)
{
    Surface& canvas = page.canvas;
    const auto box = Fields(page.objectKey(n, u"objdim")).box();
    const Fields param(page.objectKey(n, u"polyparam"));
    const auto points = param.number(0);
    const auto ratio = param.number(1);
    const auto fill = parseColour(page.objectKey(n, u"FILLCOLOR"));
    if (!box || !points || !ratio || !fill)
        return {};
    const double count = 2 * *points;
    if (count != std::floor(count) || std::fmod(count, 2) != 0 || count < 2
        || count > kMaxStarVertices)
        return {};
    const int vertices = int(count);

    const double rx = box->w / 2, ry = box->h / 2;
    const double irx = *ratio * rx, iry = *ratio * ry;
    const double cx = box->x + box->w / 2, cy = box->y + box->h / 2;
    const double step = kFullTurn / vertices;
    double a = 0;
    QList<QPoint> polygon;
    polygon.reserve(vertices);
    for (int i = 1; i <= vertices; i += 2) {
        polygon << pixelPoint(canvas, cx + irx * std::cos(a), cy + iry * std::sin(a));
        a += step;
        polygon << pixelPoint(canvas, cx + rx * std::cos(a), cy + ry * std::sin(a));
        a += step;
    }
    canvas.fillStyle = FillStyle::Solid;
    canvas.fillColour = colourFromRef(*fill);
    canvas.lineColour = colourFromRef(*fill);
    canvas.drawPolygon(polygon);
    return {};
}

DrawStatus DrawTriangle(PageContext& page, int n)
{
    Surface& canvas = page.canvas;
    const auto box = Fields(page.objectKey(n, u"objdim")).box();
    const auto corner = Fields(page.objectKey(n, u"polyparam")).number(0);
    const auto fill = parseColour(page.objectKey(n, u"FILLCOLOR"));
    if (!box || !corner || !fill || *corner != std::floor(*corner))
        return {};
    // Corners counter-clockwise on screen from the top-left.
    QList<QPoint> corners = {
        pixelPoint(canvas, box->x, box->y),
        pixelPoint(canvas, box->x, box->y + box->h),
        pixelPoint(canvas, box->x + box->w, box->y + box->h),
        pixelPoint(canvas, box->x + box->w, box->y),
    };
    // Cut away the corner diagonally opposite the right angle.
    const double p = *corner;
    const double cut = p < 3 ? p + 2 : p - 2;
    if (cut < 1 || cut > 4)
        return {};
    const int c = int(cut);
    const int d = c == 1 ? 4 : c - 1;
    corners[c - 1] = corners[d - 1];

    canvas.fillStyle = FillStyle::Solid;
    canvas.fillColour = colourFromRef(*fill);
    canvas.lineColour = colourFromRef(*fill);
    canvas.lineWidth = 1;
    canvas.drawPolygon(corners);
    return {};
}

} // namespace nuvela
