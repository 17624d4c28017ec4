#pragma once

#include "render/preview.h"

#include <QImage>
#include <QRectF>

#include <memory>

namespace nuvela {

class KeyStore;

/// The editor's picture of one text object as the page will draw it, from a
/// copy of the page state with the editor's text and formats in its live
/// tables: the main window's state, overlays and canvas stay untouched.
class PreviewRenderer {
public:
    PreviewRenderer(const QString& programDir, KeyStore& store, const PageState& state, Edition edition,
                    int objectNumber);

    /// The object's box, as it stands on the page, shown at `scale` (1 = the
    /// page at 96 dpi). A null image when the object has no box.
    QImage render(const QString& text, const QString& formats, double scale);

    /// The object's box on the page (mirrored on right-to-left pages), twips.
    QRectF box() const { return box_; }

private:
    QString programDir_;
    PageState state_;
    Edition edition_;
    int n_;
    QRectF box_;
    std::unique_ptr<PagePreview> preview_;
};

} // namespace nuvela
