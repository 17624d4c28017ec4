#include "ret/colors.h"

#include <array>
#include <optional>

namespace ret {

namespace {

struct SystemColor {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// The platform's system colours by index, mapped onto the palette roles that
// play the same part in Qt. Indexes without a colour (25) and indexes past the
// table fail.
constexpr std::array<std::optional<SystemColor>, 31> kSystemColors = {{
    SystemColor{QPalette::Active, QPalette::Button},          // 0  scroll bar
    SystemColor{QPalette::Active, QPalette::Dark},            // 1  desktop
    SystemColor{QPalette::Active, QPalette::Highlight},       // 2  active caption
    SystemColor{QPalette::Inactive, QPalette::Highlight},     // 3  inactive caption
    SystemColor{QPalette::Active, QPalette::Window},          // 4  menu
    SystemColor{QPalette::Active, QPalette::Base},            // 5  window
    SystemColor{QPalette::Active, QPalette::Shadow},          // 6  window frame
    SystemColor{QPalette::Active, QPalette::WindowText},      // 7  menu text
    SystemColor{QPalette::Active, QPalette::Text},            // 8  window text
    SystemColor{QPalette::Active, QPalette::HighlightedText}, // 9  caption text
    SystemColor{QPalette::Active, QPalette::Window},          // 10 active border
    SystemColor{QPalette::Inactive, QPalette::Window},        // 11 inactive border
    SystemColor{QPalette::Active, QPalette::Dark},            // 12 application workspace
    SystemColor{QPalette::Active, QPalette::Highlight},       // 13 highlight
    SystemColor{QPalette::Active, QPalette::HighlightedText}, // 14 highlight text
    SystemColor{QPalette::Active, QPalette::Button},          // 15 button face
    SystemColor{QPalette::Active, QPalette::Dark},            // 16 button shadow
    SystemColor{QPalette::Disabled, QPalette::Text},          // 17 grey text
    SystemColor{QPalette::Active, QPalette::ButtonText},      // 18 button text
    SystemColor{QPalette::Inactive, QPalette::HighlightedText}, // 19 inactive caption text
    SystemColor{QPalette::Active, QPalette::Light},           // 20 button highlight
    SystemColor{QPalette::Active, QPalette::Shadow},          // 21 3-D dark shadow
    SystemColor{QPalette::Active, QPalette::Midlight},        // 22 3-D light
    SystemColor{QPalette::Active, QPalette::ToolTipText},     // 23 tooltip text
    SystemColor{QPalette::Active, QPalette::ToolTipBase},     // 24 tooltip background
    std::nullopt,                                             // 25 not a colour
    SystemColor{QPalette::Active, QPalette::Link},            // 26 hot-tracked item
    SystemColor{QPalette::Active, QPalette::Highlight},       // 27 active caption gradient
    SystemColor{QPalette::Inactive, QPalette::Highlight},     // 28 inactive caption gradient
    SystemColor{QPalette::Active, QPalette::Highlight},       // 29 menu highlight
    SystemColor{QPalette::Active, QPalette::Window},          // 30 menu bar
}};

constexpr quint32 kSystemFlag = 0x80000000u;
// A palette-relative colour carries its RGB value below this marker byte;
// without a palette it stands for that value.
constexpr quint32 kPaletteRelative = 0x02000000u;

} // namespace

qint32 TranslateColor(ColorRef ref, const QPalette& palette)
{
    const quint32 kind = ref & 0xFF000000u;
    if (kind == 0 || kind == kPaletteRelative)
        return qint32(ref & 0x00FFFFFFu);
    if (kind != kSystemFlag || (ref & 0x00FFFF00u) != 0)
        return kNoColor;
    const quint32 index = ref & 0xFFu;
    if (index >= kSystemColors.size() || !kSystemColors[index])
        return kNoColor;
    const SystemColor& c = *kSystemColors[index];
    return fromQColor(palette.color(c.group, c.role));
}

} // namespace ret
