#pragma once

#include "canvas/page.h"

#include <cstdint>
#include <optional>

namespace nuvela {

/// FILLCOLOR: a colour gives a solid fill with an outline of the same colour;
/// anything else a transparent interior with a black outline.
void applyFill(Surface& canvas, std::optional<std::uint32_t> fill);

/// `border` of object n (colour, width in pixels): applied when the width is
/// above 0. Returns the width read (0 when missing or not a number).
double applyBorder(PageContext& page, int n);

/// The box "objdim" of object n in its fill and border; on a mirrored page
/// the box stands at the opposite side. Shapes and text objects share it.
DrawStatus drawObjectBox(PageContext& page, int n, bool mirrored);

/// The background and frame of a text object, in the box its rows are drawn
/// in (mirrored on right-to-left pages).
DrawStatus DrawTextBoxRectangle(PageContext& page, int n);

} // namespace nuvela
