#pragma once

namespace nuvela {

/// Where a page lands when it is scaled by one factor to just fit a box and
/// centred in it. Single precision, like the views that use it.
struct FitResult {
    float x = 0, y = 0;          ///< offsets that centre the page in the box
    float height = 0, width = 0; ///< the fitted size
};

/// The fit routine. A box or page without area fits as nothing (all zero)
/// instead of dividing by zero.
inline FitResult fitPage(float boxHeight, float boxWidth, float pageHeight, float pageWidth)
{
    if (!(boxHeight > 0) || !(boxWidth > 0) || !(pageHeight > 0) || !(pageWidth > 0))
        return {};
    const float rb = boxHeight / boxWidth;
    const float rp = pageHeight / pageWidth;
    FitResult f;
    if (rp <= rb) {
        f.width = boxWidth;
        f.height = rp * boxWidth;
    } else {
        f.height = boxHeight;
        f.width = boxHeight / rp;
    }
    f.x = (boxWidth - f.width) / 2;
    f.y = (boxHeight - f.height) / 2;
    return f;
}

} // namespace nuvela
