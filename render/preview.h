#pragma once

#include "render/drawpage.h"
#include "render/pagesetup.h"

#include <QImage>

namespace nuvela {

/// A page drawn from a copy of the state.
struct PagePicture {
    QImage image;
    PageOutcome outcome;
};

/// Draws pages for the editors' live previews from a copy of the state, so
/// the program's overlays, headline controls and live tables stay as they
/// are. It has its own store, canvas and render session: a preview drawn
/// while the page is being drawn is neither refused nor does it disturb it.
/// Pictures it decoded are kept for its next preview.
class PagePreview {
public:
    explicit PagePreview(const QString& programDir, Edition edition = Edition::Main,
                         double scale = 1.0);

    /// The page of state; with onlyObject above 0 only that object, on the
    /// page-sized white canvas without the footer line.
    PagePicture draw(const PageState& state, int onlyObject = 0);

private:
    PageState state_;
    KeyStore store_;
    PageSetup setup_;
    Surface canvas_;
};

} // namespace nuvela
