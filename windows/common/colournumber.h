#pragma once

#include <QColor>
#include <QPalette>
#include <QVariant>

#include <optional>

namespace nuvela {

/// Colours travel as 32-bit numbers 0x00BBGGRR (red in the low byte). A number
/// with the high bit set names a system colour instead (0x80000005 is the
/// window background), resolved against a palette.
using ColourNumber = quint32;

inline constexpr ColourNumber kSystemColourBit = 0x80000000u;

QColor colourFromNumber(ColourNumber number);
ColourNumber colourNumber(const QColor& colour);

/// Decimal ("255", also the negative form files hold for system colours) or
/// "&H" hexadecimal text, or a number; std::nullopt when it is neither.
std::optional<ColourNumber> colourNumberFromValue(const QVariant& value);

/// A plain colour, or a system colour looked up in the palette; std::nullopt
/// for a system colour this program does not know.
std::optional<QColor> resolveColour(ColourNumber number, const QPalette& palette);

} // namespace nuvela
