#include "text/textobject.h"

#include "canvas/boxes.h"
#include "canvas/colour.h"
#include "store/numbers.h"
#include "text/rowmodel.h"
#include "text/textrow.h"

namespace nuvela {

namespace {

/// A row from its format and its definition's place in the box.
TextRow makeRow(const RowFormat& format, const RowDefinition& definition, const Fields::Box& box,
                const QString& text)
{
    TextRow row;
    row.colour = format.colour;
    row.font = format.face;
    row.size = format.size;
    row.bold = format.bold;
    row.charset = format.charset;
    row.x = box.x;
    row.y = box.y;
    row.w = box.w;
    row.h = box.h;
    row.offset = definition.offset;
    row.text = text;
    row.align = definition.align;
    row.angle = definition.angle;
    return row;
}

/// Where the object's rows appear: on a right-to-left page the box is
/// mirrored, and so are its frame and its click target.
QRectF visibleBox(const PageContext& page, const Fields::Box& box)
{
    const double x = page.state.rightToLeft() ? page.canvas.width() - box.x - box.w : box.x;
    return QRectF(x, box.y, box.w, box.h);
}

void drawParagraphRow(PageContext& page, const QString& formatText, const Fields::Box& box,
                      const QString& text)
{
    // A paragraph takes what it can of a damaged format, as the surface
    // keeps its previous colour or size for the fields it cannot read.
    Surface& canvas = page.canvas;
    const Fields format(formatText);
    if (const auto colour = parseColour(format[0]))
        canvas.textColour = colourFromRef(*colour);
    canvas.font.face = format[1];
    if (const auto size = format.number(2))
        canvas.font.size = *size;
    canvas.font.bold = isTrueText(format[3]);
    DrawParagraph(canvas, page.state.rightToLeft(), text, box.x, box.y);
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
    const QStringList rows = splitRows(text);

    // One format per row definition: the stored one when it is complete,
    // else the definition itself, so no row takes another row's format.
    const TextObjectRows object = completeRows(readRowDefinitions(page.store, n, kMaxEditableRows),
                                               state.liveFormats[n]);
    for (int k = 0; k < object.definitionTexts.size(); ++k) {
        const auto& definition = object.definitions[k];
        if (definition && definition->isParagraph()) {
            drawParagraphRow(page, object.formatTexts[k], *box, text);
        } else if (k < rows.size() && definition) {
            if (const auto format = object.format(k))
                DrawTextRow(page.canvas, state.rightToLeft(), makeRow(*format, *definition, *box, rows[k]));
        }
    }
    if (object.completedFromDefinitions)
        state.liveFormats[n] = object.formatString();
    return {};
}

DrawStatus DrawFixedTextObject(PageContext& page, int n)
{
    const auto box = Fields(page.objectKey(n, u"objdim")).box();
    if (!box)
        return {};
    DrawTextBoxRectangle(page, n);
    const QList<QString> definitions = readRowDefinitions(page.store, n, kMaxFixedRows);
    for (int k = 0; k < definitions.size(); ++k) {
        // A row without its text has nothing to show (rather than the
        // store's miss marker).
        const QString text = page.objectKey(n, QStringLiteral("txt%1").arg(k + 1));
        if (text == kFailed)
            continue;
        if (const auto definition = RowDefinition::parse(definitions[k]))
            DrawTextRow(page.canvas, page.state.rightToLeft(), makeRow(definition->format, *definition, *box, text));
    }
    return {};
}

} // namespace nuvela
