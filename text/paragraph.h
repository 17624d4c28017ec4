#pragma once

#include <QList>
#include <QString>

class QFont;
class QTextOption;

#include <functional>

namespace nuvela {

/// Width of a text in twips, in the paragraph's font.
using MeasureText = std::function<double(const QString&)>;

/// `JustifyLine`: widens the gaps between the words of a line so that it
/// is as wide as `width` twips. Every gap keeps at least one space, the
/// first gaps (in character order) get one more than the others when the
/// room is not shared evenly, and no space ever goes inside a word. A line
/// of one word (or none) comes back unchanged.
QString JustifyLine(const QString& line, double width, const MeasureText& measure);

/// One line as the paragraph box shows it.
struct VisualLine {
    QString text;
    /// The user ended the paragraph here with Enter (the last line of every
    /// paragraph but the last).
    bool endsParagraph = false;
};

/// `WrapAndJustify`: the stored form of a paragraph text from the lines
/// the box shows. A wrapped line and the text's last line are trimmed,
/// justified to `width` and followed by "~"; a paragraph's last line is
/// kept as typed and followed by CR LF; lines from `lineLimit` on are
/// emptied but still followed by "~".
QString WrapAndJustify(const QList<VisualLine>& lines, int lineLimit, double width,
                       const MeasureText& measure);

/// The lines a box of `boxHeight` holds at `lineHeight` each (both twips):
/// never fewer than one, so a box lower than one line still takes a line.
int paragraphLineLimit(double boxHeight, double lineHeight);

/// Turns runs of spaces into one space: a justified line back into the
/// words the user typed.
QString collapseSpaces(const QString& text);

/// The plain text of a stored paragraph text for the paragraph box: wrapped
/// lines joined by one space, paragraphs by "\n". Stored texts lose their
/// CR LF in the text store, where a paragraph's end is a "~" like any
/// wrapped line: a "~" after which the next line's first word would still
/// have fitted on the line cannot be a wrap and so becomes a paragraph end
/// again. `fitsOnOneLine` answers as the box's own layout would.
QString paragraphFromStored(const QString& stored, const std::function<bool(const QString&)>& fitsOnOneLine);

/// Whether `text` stays on one line of a paragraph box `width` pixels wide
/// that lays out its text in `font` with `option`.
bool fitsOnOneLine(const QString& text, const QFont& font, const QTextOption& option, int width);

} // namespace nuvela
