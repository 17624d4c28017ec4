#include "store/pagestate.h"

namespace nuvela {

void PageState::growLiveTables(int n)
{
    if (n < 0)
        return;
    while (liveTexts.size() <= n)
        liveTexts.append(QString());
    while (liveFormats.size() <= n)
        liveFormats.append(QString());
}

void markModified(PageState& state) { state.modified = QString::number(state.version); }

void clearModified(PageState& state) { state.modified.clear(); }

void removeOverlays(PageState& state)
{
    state.katava.clear();
    state.gpic.clear();
    state.headline.collVisible = false;
}

} // namespace nuvela
