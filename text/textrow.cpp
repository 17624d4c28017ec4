#include "text/textrow.h"

#include "canvas/colour.h"
#include "store/numbers.h"
#include "text/rowfont.h"

#include <cmath>

namespace nuvela {

namespace {
// The width assumed for the natural font when the first narrower width is
// computed: a deliberately generous guess, so the next attempts close in on
// the box from above.
constexpr double kStartWidth = 200;
constexpr double kPi = 3.141592654;
} // namespace

bool isTrueText(QStringView text)
{
    // Only the word: numbers such as "1" or "-1" are not bold.
    return text.trimmed().compare(u"true", Qt::CaseInsensitive) == 0;
}

QString shownText(const QString& text)
{
    if (text.size() <= kMaxShownCharacters)
        return text;
    // Never cut a surrogate pair in two.
    qsizetype cut = kMaxShownCharacters;
    if (text[cut - 1].isHighSurrogate())
        --cut;
    return text.left(cut);
}

RowFit DrawTextRow(Surface& surface, bool rightToLeftPage, const TextRow& row)
{
    const QString text = shownText(row.text);
    surface.textColour = colourFromRef(row.colour);
    RowFont wanted{row.font, fontHeightForSize(row.size, surface), 0, row.bold};

    RowFit fit;
    QFont font;
    double tw = 0;
    for (int attempt = 1; attempt <= kFitAttempts; ++attempt) {
        font = wanted.toQFont();
        tw = textWidth(font, text, surface);
        fit.attempts = attempt;
        if (tw <= row.w || tw <= 0 || attempt == kFitAttempts)
            break;
        const double previous = attempt == 1 ? kStartWidth : wanted.width;
        double next = roundHalfEven(previous * row.w / tw);
        if (next == previous)
            next = previous - 1;
        // Width 0 would mean the natural, widest font again.
        next = std::max(next, 1.0);
        if (next == wanted.width)
            break; // as narrow as a font gets
        wanted.width = int(next);
    }
    fit.width = wanted.width;
    fit.textWidth = tw;

    const double W = surface.width();
    QPointF pen = surface.pen;
    if (row.align == u"right")
        pen.setX(rightToLeftPage ? W - row.x - row.w : row.x + row.w - tw);
    else if (row.align == u"left")
        pen.setX(rightToLeftPage ? W - row.x - tw : row.x);
    else if (row.align == u"center")
        pen.setX(rightToLeftPage ? W - row.x - row.w + (row.w - tw) / 2
                                 : row.x + (row.w - tw) / 2);
    pen.setY(row.y + row.offset);

    if (row.angle > 0) {
        // Turn the row about the middle of its box.
        const double a = row.angle * 2 * kPi / 360;
        const double hw = tw / 2, hh = textHeight(font, surface) / 2;
        const double x1 = hw * std::cos(a) - hh * std::sin(a);
        const double y1 = hw * std::sin(a) + hh * std::cos(a);
        const double r = row.h / 2 - row.offset;
        const double s = r * std::sin(a);
        const double d = roundHalfEven(r - r * std::cos(a));
        const double left = row.x + row.w / 2 - x1 - s;
        pen.setX(rightToLeftPage ? W - left - tw : left);
        pen.setY(row.y + row.offset + y1 + d);
    }

    surface.pen = pen;
    fit.pen = pen;
    printText(surface, font, text, row.angle);
    return fit;
}

void DrawParagraph(Surface& surface, bool rightToLeftPage, const QString& text, double x, double y)
{
    const RowFont wanted{surface.font.face, fontHeightForSize(surface.font.size, surface), 0,
                       surface.font.bold};
    const QFont font = wanted.toQFont();
    QString joined = text;
    joined.replace(QStringLiteral("\r\n"), QStringLiteral("~"));
    surface.pen.setY(y);
    for (const QString& line : joined.split(u'~')) {
        // Lines below the page's foot cannot be seen.
        if (surface.pen.y() > surface.height())
            break;
        const QString shown = shownText(line);
        // Every line starts where its reading starts: in right-to-left text at
        // the box's right edge. Justifying with whole spaces leaves a line up
        // to a space short of the box; that slack goes to the line's end, and
        // a line the user ended early (a lone word) stands at its start.
        surface.pen.setX(rightToLeftPage ? surface.width() - x - textWidth(font, shown, surface) : x);
        printText(surface, font, shown);
    }
}

} // namespace nuvela
