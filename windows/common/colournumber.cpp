#include "windows/common/colournumber.h"

#include "windows/common/textvalue.h"

#include <cmath>

namespace nuvela {

QColor colourFromNumber(ColourNumber number)
{
    return QColor(int(number & 0xFF), int((number >> 8) & 0xFF), int((number >> 16) & 0xFF));
}

ColourNumber colourNumber(const QColor& colour)
{
    return ColourNumber(colour.red()) | ColourNumber(colour.green()) << 8
        | ColourNumber(colour.blue()) << 16;
}

std::optional<ColourNumber> colourNumberFromValue(const QVariant& value)
{
    const auto number = numberFromValue(value);
    if (!number || *number != std::floor(*number))
        return std::nullopt;
    // Negative numbers are the signed spelling of system colours (-2147483643
    // is 0x80000005).
    if (*number < -2147483648.0 || *number > 4294967295.0)
        return std::nullopt;
    const qint64 whole = qint64(*number);
    return ColourNumber(quint64(whole) & 0xFFFFFFFFu);
}

std::optional<QColor> resolveColour(ColourNumber number, const QPalette& palette)
{
    if (!(number & kSystemColourBit)) {
        if (number > 0xFFFFFFu)
            return std::nullopt;
        return colourFromNumber(number);
    }
    // The system colours that windows of this program use, by their index.
    switch (number & 0xFFu) {
    case 0x05: // window background
        return palette.color(QPalette::Base);
    case 0x08: // window text
        return palette.color(QPalette::Text);
    case 0x0F: // button face
        return palette.color(QPalette::Button);
    case 0x10: // button shadow
        return palette.color(QPalette::Dark);
    case 0x12: // button text
        return palette.color(QPalette::ButtonText);
    case 0x14: // button highlight
        return palette.color(QPalette::Light);
    default:
        return std::nullopt;
    }
}

} // namespace nuvela
