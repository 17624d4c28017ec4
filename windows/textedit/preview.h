#pragma once

#include "render/surface.h"
#include "store/edition.h"
#include "store/pagestate.h"

#include <QImage>

namespace nuvela {

class KeyStore;

/// Draws one text object as the page would, from a copy of the page state
/// with the editor's text and formats in its live tables: the main window's
/// state, overlays and canvas stay untouched. Keeps its canvas between
/// drawings, so a keystroke costs one object, not a page allocation.
class PreviewRenderer {
public:
    PreviewRenderer(KeyStore& store, const PageState& state, Edition edition, int objectNumber);

    /// The object's box, as it stands on the page, drawn at `scale` (1 = the
    /// page at 96 dpi). A null image when the object has no box.
    QImage render(const QString& text, const QString& formats, double scale);

    /// The object's box on the page (mirrored on right-to-left pages), twips.
    QRectF box() const { return box_; }

private:
    KeyStore& store_;
    PageState state_;
    Edition edition_;
    int n_;
    double pageWidth_ = 0, pageHeight_ = 0;
    QRectF box_;
    std::unique_ptr<Surface> canvas_;
};

} // namespace nuvela
