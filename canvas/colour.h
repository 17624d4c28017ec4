#pragma once

#include <QColor>

#include <cstdint>

namespace nuvela {

/// A colour number of the formats, 0x00BBGGRR (red in the low byte).
inline QColor colourFromRef(std::uint32_t ref)
{
    return QColor(int(ref & 0xFF), int((ref >> 8) & 0xFF), int((ref >> 16) & 0xFF));
}

inline std::uint32_t refFromColour(const QColor& c)
{
    return std::uint32_t(c.red()) | (std::uint32_t(c.green()) << 8) | (std::uint32_t(c.blue()) << 16);
}

} // namespace nuvela
