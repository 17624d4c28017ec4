#include "render/preview.h"

namespace nuvela {

PagePreview::PagePreview(const QString& programDir, Edition edition, double scale)
    : store_(programDir, state_)
    , setup_(store_, state_, edition)
    , canvas_(scale)
{
}

PagePicture PagePreview::draw(const PageState& state, int onlyObject)
{
    state_ = state;
    PageContext page = setup_.context(canvas_);
    page.onlyObject = onlyObject;
    const PageOutcome outcome = DrawPage(page);
    return {canvas_.image(), outcome};
}

} // namespace nuvela
