#pragma once

#include "store/numbers.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstdint>
#include <optional>

namespace nuvela {

class KeyStore;

/// The look of one row: colour, face, size, boldness and the Windows
/// character set, which Qt fonts do not use but the stored form keeps.
/// Stored as five fields separated by ",": "1973790,David,12,False,177".
struct RowFormat {
    std::uint32_t colour = 0; ///< 0x00BBGGRR
    QString face;
    double size = 12; ///< points
    bool bold = false;
    int charset = 0;

    /// A stored entry with at least five fields whose numbers are numbers;
    /// fields beyond the fifth are ignored.
    static std::optional<RowFormat> parse(QStringView text);
    /// The stored form; the size as a whole number when it is one.
    QString toString() const;

    bool operator==(const RowFormat&) const = default;
};

/// Whether a stored format entry has the five fields a format needs (an
/// entry that has them is the row's own, even when a number in it is bad).
bool hasFormatFields(QStringView entry);

/// A template's row definition ("shura" + k): the row's default format and
/// where it stands in its box. Eight fields:
/// "1973790,David,12,False,177,0,full,0".
struct RowDefinition {
    RowFormat format;
    double offset = 0; ///< top of the row below the top of the box, twips
    QString align;     ///< "right", "left", "center" or "full"
    double angle = 0;  ///< degrees, counter-clockwise

    static std::optional<RowDefinition> parse(QStringView text);
    QString toString() const;
    /// The whole text of the object is one paragraph in this row's format.
    bool isParagraph() const { return align == u"full"; }

    bool operator==(const RowDefinition&) const = default;
};

/// Texts and formats of a text object, as the live tables hold them: rows
/// joined by "~" (in a paragraph also CR LF between paragraphs), formats one
/// entry per row joined by "~".
QStringList splitRows(const QString& stored);
QString joinRows(const QStringList& rows);

/// The rows of one editable text object: its row definitions as the
/// template lists them, and its formats completed to one per definition.
struct TextObjectRows {
    QList<QString> definitionTexts;  ///< "shura1" … as stored, at most ten
    QList<std::optional<RowDefinition>> definitions; ///< parsed, nullopt when malformed
    /// One format entry per definition: the stored entry when it has five
    /// fields, else the definition's own text (so no row takes another
    /// row's format and no entry is ever dropped).
    QList<QString> formatTexts;
    bool completedFromDefinitions = false; ///< some entry came from a definition

    bool isParagraph() const
    {
        return !definitions.isEmpty() && definitions.first() && definitions.first()->isParagraph();
    }
    /// The format of row k (parsed), or nothing.
    std::optional<RowFormat> format(int k) const;
    /// The completed format string, as the live format table keeps it.
    QString formatString() const { return formatTexts.join(u'~'); }
};

/// A text as one row may hold it: the row separator "~" typed or pasted
/// into a row would shift the following rows onto other rows' formats, so
/// it becomes "-".
QString withoutRowMarks(QString text);

/// What a row box holds of a typed or pasted text: besides the row mark,
/// every CR and LF of a pasted multi-line text becomes the space the box
/// shows for it; saved as a line break it would be a row separator too.
QString asOneRow(QString text);

/// The row definitions "shura1" … of object n of the selected template, up
/// to the first missing one and at most maxRows.
QList<QString> readRowDefinitions(KeyStore& store, int n, int maxRows);

/// Completes a stored format string against the definitions (see
/// TextObjectRows::formatTexts).
TextObjectRows completeRows(const QList<QString>& definitionTexts, const QString& storedFormats);

} // namespace nuvela
