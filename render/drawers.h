#pragma once

#include "render/page.h"

namespace nuvela {

// The object drawers. Each takes object number n and reads its own keys from
// section "object" + n of the selected template.

DrawStatus DrawRectangle(PageContext& page, int n);
DrawStatus DrawEllipse(PageContext& page, int n);
DrawStatus DrawStar(PageContext& page, int n);
DrawStatus DrawTriangle(PageContext& page, int n);

/// The rectangle drawer for a text object's background and frame, which sits
/// in the box the object's rows are drawn in (mirrored on right-to-left
/// pages).
DrawStatus DrawTextBoxRectangle(PageContext& page, int n);

} // namespace nuvela
