#include "canvas/boxes.h"

#include "canvas/colour.h"
#include "store/numbers.h"

#include <algorithm>

namespace nuvela {

void applyFill(Surface& canvas, std::optional<std::uint32_t> fill)
{
    if (fill) {
        canvas.fillStyle = FillStyle::Solid;
        canvas.fillColour = colourFromRef(*fill);
        canvas.lineColour = colourFromRef(*fill);
    } else {
        canvas.fillStyle = FillStyle::Transparent;
        canvas.lineColour = Qt::black;
    }
}

double applyBorder(PageContext& page, int n)
{
    QString value = page.objectKey(n, u"border");
    if (value == kFailed)
        value = QStringLiteral(",");
    const Fields border(value);
    const double width = border.number(1).value_or(0);
    if (width > 0) {
        if (const auto colour = parseColour(border[0]))
            page.canvas.lineColour = colourFromRef(*colour);
        page.canvas.lineWidth = int(std::min(roundHalfEven(width), 1000.0));
    }
    return width;
}

DrawStatus drawObjectBox(PageContext& page, int n, bool mirrored)
{
    Surface& canvas = page.canvas;
    const auto box = Fields(page.objectKey(n, u"objdim")).box();
    applyFill(canvas, parseColour(page.objectKey(n, u"FILLCOLOR")));
    const double borderWidth = applyBorder(page, n);
    if (box && (borderWidth > 0 || canvas.fillStyle == FillStyle::Solid)) {
        const double x = mirrored ? canvas.width() - box->x - box->w : box->x;
        canvas.drawBox({x, box->y}, {x + box->w, box->y + box->h});
    }
    canvas.lineWidth = 1;
    return {};
}

DrawStatus DrawTextBoxRectangle(PageContext& page, int n)
{
    return drawObjectBox(page, n, page.state.rightToLeft());
}

} // namespace nuvela
