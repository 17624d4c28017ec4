#pragma once

#include "text/rowmodel.h"

#include <QFont>
#include <QString>
#include <QStringList>

#include <optional>

namespace nuvela {

class Dialogs;
struct PageState;

/// The editor shows its rows reduced: this factor for every row at 24
/// points or more, computed from the designed width of the first row box
/// (twips) as round(0.8 × width ÷ 17200, 2).
double editorBaseFactor(double designedRowWidthTwips);

/// A row smaller than 24 points is shown as if it had 24 points, so small
/// print stays legible: factor base × 24 ÷ size; larger rows use the base.
double rowFactor(double base, double size);

/// The size stored for a row shown at `displayed` points with its factor:
/// a whole number, halves to even.
double storedSize(double displayed, double factor);

/// The font dialog works in page sizes: a row shown at `displayed` points
/// with the factor `scale` opens the dialog at displayed ÷ scale (a whole
/// number), and a size chosen there is shown at scale × that size.
int dialogPointSize(double displayed, double scale);
double displayedFromDialog(double chosenPoints, double scale);

/// A row's look as the editor holds it: the stored format, shown at
/// `displayed` points (its size × its factor).
struct EditRow {
    QString text;
    RowFormat format; ///< format.size is ignored: `displayed` ÷ factor is the size
    double displayed = 0;
    double factor = 1;

    /// The stored format entry of the row.
    RowFormat stored() const;
};

/// The installed family the page draws the row's text with.
QString drawnFamily(const EditRow& row);

/// What the font dialog changed in a row: face, size, boldness. Cancelled
/// (std::nullopt) leaves the row as it was. Weights above 400 are bold. The
/// dialog opens on the drawn family; left there, the face keeps its name.
std::optional<EditRow> ShowFontDialog(Dialogs& dialogs, QWidget* parent, const EditRow& row);

/// What confirming the editor writes into the live tables of object n: the
/// rows' texts joined by "~" (a row that is empty or only spaces is stored
/// as one space, so the object keeps its number of rows), and, when colour
/// editing is allowed, their formats. Nothing changes when the text is the
/// same and no format command was used. Returns whether anything changed.
struct EditResult {
    QString text;
    QString formats;
};
EditResult buildEdit(const QList<EditRow>& rows);
bool applyEdit(PageState& state, int n, const EditResult& edit, bool formatsChanged, bool colourEdit);

} // namespace nuvela
