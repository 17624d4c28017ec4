#include "text/textobject.h"

#include "canvas/boxes.h"
#include "canvas/colour.h"
#include "store/numbers.h"
#include "text/textrow.h"

namespace nuvela {

namespace {

// Fields of a row definition (the eight-field "shura" value); the first five
// are also the fields of a row format.
enum RowField { Colour, Face, Size, Bold, Charset, Offset, Align, Angle };
// A stored row format has these five fields at least.
constexpr qsizetype kFormatFields = 5;

/// A row from its format (fields 0-4) and its definition (fields 5-7), or
/// nothing when a number among them is not one: such a row is not drawn.
std::optional<TextRow> makeRow(const Fields& format, const Fields& definition,
                               const Fields::Box& box, const QString& text)
{
    const auto colour = parseColour(format[Colour]);
    const auto size = format.number(Size);
    const auto charset = parseWhole(format[Charset]);
    const auto offset = definition.number(Offset);
    const auto angle = definition.number(Angle);
    if (!colour || !size || !charset || !offset || !angle)
        return std::nullopt;
    TextRow row;
    row.colour = *colour;
    row.font = format[Face];
    row.size = *size;
    row.bold = isTrueText(format[Bold]);
    row.charset = *charset;
    row.x = box.x;
    row.y = box.y;
    row.w = box.w;
    row.h = box.h;
    row.offset = *offset;
    row.text = text;
    row.align = definition[Align];
    row.angle = *angle;
    return row;
}

/// Where the object's rows appear: on a right-to-left page the box is
/// mirrored, and so are its frame and its click target.
QRectF visibleBox(const PageContext& page, const Fields::Box& box)
{
    const double x = page.state.rightToLeft() ? page.canvas.width() - box.x - box.w : box.x;
    return QRectF(x, box.y, box.w, box.h);
}

void drawParagraphRow(PageContext& page, const Fields& format, const Fields::Box& box,
                      const QString& text)
{
    Surface& canvas = page.canvas;
    if (const auto colour = parseColour(format[Colour]))
        canvas.textColour = colourFromRef(*colour);
    canvas.font.face = format[Face];
    if (const auto size = format.number(Size))
        canvas.font.size = *size;
    canvas.font.bold = isTrueText(format[Bold]);
    DrawParagraph(canvas, page.state.rightToLeft(), text, box.x, box.y, box.w);
}

} // namespace

DrawStatus DrawTextObject(PageContext& page, int n, bool headlineMode)
{
    PageState& state = page.state;
    std::optional<Fields::Box> box;
    if (!headlineMode) {
        box = Fields(page.objectKey(n, u"objdim")).box();
    } else {
        const Fields at(page.objectKey(n, u"picdim"));
        const auto x = at.number(0), y = at.number(1);
        if (x && y)
            box = Fields::Box{*x, *y, page.staged.width() * kScreenTwipsPerPixel,
                              page.staged.height() * kScreenTwipsPerPixel};
    }
    if (!box)
        return {}; // an object without a box has nowhere to go

    if (!state.overlaysPlaced && n > 0)
        state.katava[n] = visibleBox(page, *box);

    DrawTextBoxRectangle(page, n);

    state.growLiveTables(n);
    if (!state.isModified()) {
        // A version without an entry for this object has no text yet: the
        // rows start empty, in the template's own formats.
        const QString section = page.versionSection();
        const QString text = page.store.get(StoreMode::GetTxt, section, QStringLiteral("txt%1").arg(n));
        const QString formats = page.store.get(StoreMode::GetTxt, section, QStringLiteral("col%1").arg(n));
        state.liveTexts[n] = text == kFailed ? QString() : text;
        state.liveFormats[n] = formats == kFailed ? QString() : formats;
    }
    const QString text = state.liveTexts[n];
    const QList<QString> rows = text.split(u'~');
    const QList<QString> formatRows = state.liveFormats[n].split(u'~');

    // One format per row definition: the stored one when it is complete,
    // else the definition itself, so no row takes another row's format.
    QList<QString> completed;
    bool usedDefinition = false;
    for (int k = 0; k < kMaxEditableRows; ++k) {
        const QString definitionText = page.objectKey(n, QStringLiteral("shura%1").arg(k + 1));
        if (definitionText == kFailed)
            break;
        const Fields definition(definitionText);
        const bool stored = k < formatRows.size() && Fields(formatRows[k]).size() >= kFormatFields;
        const Fields format(stored ? formatRows[k] : definitionText);
        completed.append(stored ? formatRows[k] : definitionText);
        usedDefinition = usedDefinition || !stored;

        if (definition[Align] == u"full") {
            drawParagraphRow(page, format, *box, text);
        } else if (k < rows.size()) {
            if (const auto row = makeRow(format, definition, *box, rows[k]))
                DrawTextRow(page.canvas, state.rightToLeft(), *row);
        }
    }
    if (usedDefinition)
        state.liveFormats[n] = completed.join(u'~');
    return {};
}

DrawStatus DrawFixedTextObject(PageContext& page, int n)
{
    const auto box = Fields(page.objectKey(n, u"objdim")).box();
    if (!box)
        return {};
    DrawTextBoxRectangle(page, n);
    for (int k = 1; k <= kMaxFixedRows; ++k) {
        const QString definitionText = page.objectKey(n, QStringLiteral("shura%1").arg(k));
        if (definitionText == kFailed)
            break;
        // A row without its text has nothing to show (rather than the
        // store's miss marker).
        const QString text = page.objectKey(n, QStringLiteral("txt%1").arg(k));
        if (text == kFailed)
            continue;
        const Fields definition(definitionText);
        if (const auto row = makeRow(definition, definition, *box, text))
            DrawTextRow(page.canvas, page.state.rightToLeft(), *row);
    }
    return {};
}

} // namespace nuvela
