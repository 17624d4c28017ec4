#pragma once

#include "canvas/surface.h"

#include <QString>

#include <cstdint>

namespace nuvela {

/// One row of text on the page: its look, its box and where it sits in it.
struct TextRow {
    std::uint32_t colour = 0; ///< 0x00BBGGRR
    QString font;             ///< face name
    double size = 12;         ///< points
    bool bold = false;
    int charset = 0;          ///< Windows character set; glyphs are chosen by script here
    double x = 0, y = 0, w = 0, h = 0; ///< the box, twips
    double offset = 0;        ///< top of the row below the top of the box, twips
    QString text;
    QString align;            ///< "right", "left", "center"; any other word keeps the pen
    double angle = 0;         ///< degrees, counter-clockwise
};

/// At most this many fonts are tried to fit a row into its box.
inline constexpr int kFitAttempts = 50;

/// A row or a paragraph line shows at most this many characters: more would
/// be less than a pixel each even on the widest page, and every extra
/// character costs time at each fitting attempt. Values are still stored
/// whole.
inline constexpr qsizetype kMaxShownCharacters = 2048;

/// The part of a text that a row can show.
QString shownText(const QString& text);

/// The outcome of fitting, for callers that care (tests, the editor).
struct RowFit {
    int width = 0;    ///< average character width reached, pixels (0 = natural)
    int attempts = 0; ///< fonts tried
    double textWidth = 0; ///< twips, with the final font
    QPointF pen;      ///< where the row was printed, twips
};

/// `DrawTextRow`: condenses the font until the row fits its box, places it by
/// its alignment and the page direction (a right-to-left page mirrors the
/// box), turns it about the box's centre when it has an angle, and prints it.
RowFit DrawTextRow(Surface& surface, bool rightToLeftPage, const TextRow& row);

/// `DrawParagraph`: prints the lines of a paragraph text (lines separated by
/// "~" or CR LF, already wrapped to the box) one line height apart, in the
/// surface's current font and text colour, each from the box's left edge x;
/// on a right-to-left page (which mirrors x) each up to its right edge.
void DrawParagraph(Surface& surface, bool rightToLeftPage, const QString& text, double x, double y);

/// "True" in any letter case (as the store matches words) is bold; anything
/// else, numbers included, is not.
bool isTrueText(QStringView text);

} // namespace nuvela
