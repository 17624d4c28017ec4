#pragma once

#include "canvas/page.h"

namespace nuvela {

// The object drawers. Each takes object number n and reads its own keys from
// section "object" + n of the selected template.

DrawStatus DrawRectangle(PageContext& page, int n);
DrawStatus DrawEllipse(PageContext& page, int n);
DrawStatus DrawStar(PageContext& page, int n);
DrawStatus DrawTriangle(PageContext& page, int n);

} // namespace nuvela
