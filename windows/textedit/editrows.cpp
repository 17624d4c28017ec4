#include "windows/textedit/editrows.h"

#include "store/numbers.h"
#include "store/pagestate.h"
#include "windows/common/dialogs.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QRawFont>

#include <algorithm>
#include <cmath>

namespace nuvela {

namespace {
// The design width in twips at which the row boxes show text at 0.8 of its
// page size.
constexpr double kFullWidthTwips = 17200;
// Rows below this size are shown as if they had it.
constexpr double kLegibleSize = 24;
}

double editorBaseFactor(double designedRowWidthTwips)
{
    return roundHalfEven(0.8 * designedRowWidthTwips / kFullWidthTwips * 100) / 100;
}

double rowFactor(double base, double size)
{
    if (size > 0 && size < kLegibleSize)
        return base * kLegibleSize / size;
    return base;
}

double storedSize(double displayed, double factor)
{
    return factor > 0 ? roundHalfEven(displayed / factor) : displayed;
}

int dialogPointSize(double displayed, double scale)
{
    return int(roundHalfEven(scale > 0 ? displayed / scale : displayed));
}

double displayedFromDialog(double chosenPoints, double scale)
{
    return scale * roundHalfEven(chosenPoints);
}

RowFormat EditRow::stored() const
{
    RowFormat f = format;
    f.size = storedSize(displayed, factor);
    return f;
}

QString drawnFamily(const EditRow& row)
{
    QFont font(row.format.face);
    font.setBold(row.format.bold);
    // A face without Hebrew letters (or not installed at all) draws Hebrew
    // rows with a fallback family chosen for the script.
    const bool hebrew = std::any_of(row.text.cbegin(), row.text.cend(),
                                    [](QChar c) { return c.script() == QChar::Script_Hebrew; });
    const QRawFont raw = QRawFont::fromFont(font, hebrew ? QFontDatabase::Hebrew : QFontDatabase::Latin);
    return raw.isValid() ? raw.familyName() : QFontInfo(font).family();
}

std::optional<EditRow> ShowFontDialog(Dialogs& dialogs, QWidget* parent, const EditRow& row)
{
    // Templates name faces ("David", "Frank Ruehl") that only the font
    // configuration maps to an installed family, and the dialog lists
    // installed families alone: it opens on the family the page draws with.
    const QString drawn = drawnFamily(row);
    QFont initial(drawn);
    initial.setPointSize(std::max(1, dialogPointSize(row.displayed, row.factor)));
    initial.setBold(row.format.bold);
    const auto chosen = dialogs.chooseFont(parent, initial);
    if (!chosen)
        return std::nullopt;
    EditRow out = row;
    out.format.bold = chosen->weight() > QFont::Normal;
    // Left on the family it opened with, the face keeps the template's name.
    if (chosen->family().compare(drawn, Qt::CaseInsensitive) != 0)
        out.format.face = chosen->family();
    const double points = chosen->pointSizeF() > 0 ? chosen->pointSizeF() : chosen->pixelSize() * 0.75;
    out.displayed = displayedFromDialog(points, row.factor);
    return out;
}

EditResult buildEdit(const QList<EditRow>& rows)
{
    QStringList texts, formats;
    for (const EditRow& row : rows) {
        const bool blank = QString(row.text).remove(u' ').isEmpty();
        texts << (blank ? QStringLiteral(" ") : row.text);
        formats << row.stored().toString();
    }
    return {joinRows(texts), formats.join(u'~')};
}

bool applyEdit(PageState& state, int n, const EditResult& edit, bool formatsChanged, bool colourEdit)
{
    state.growLiveTables(n);
    if (!formatsChanged && state.liveTexts[n] == edit.text)
        return false;
    markModified(state);
    state.liveTexts[n] = edit.text;
    if (colourEdit)
        state.liveFormats[n] = edit.formats;
    return true;
}

} // namespace nuvela
