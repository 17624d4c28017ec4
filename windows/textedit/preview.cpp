#include "windows/textedit/preview.h"

#include "render/page.h"
#include "store/keystore.h"
#include "store/numbers.h"
#include "text/textobject.h"

#include <QPainter>

namespace nuvela {

PreviewRenderer::PreviewRenderer(KeyStore& store, const PageState& state, Edition edition, int objectNumber)
    : store_(store)
    , state_(state)
    , edition_(edition)
    , n_(objectNumber)
{
    // The copy draws from its live tables and never places overlays.
    state_.modified = QStringLiteral("preview");
    state_.overlaysPlaced = true;
    state_.growLiveTables(n_);
    const Fields size(store_.get(StoreMode::Get, u"paper", u"size"));
    pageWidth_ = size.number(0).value_or(0);
    pageHeight_ = size.number(1).value_or(0);
    if (const auto b = Fields(store_.get(StoreMode::Get, QStringLiteral("object%1").arg(n_), u"objdim")).box()) {
        const double x = state_.rightToLeft() ? pageWidth_ - b->x - b->w : b->x;
        box_ = QRectF(x, b->y, b->w, b->h);
    }
}

QImage PreviewRenderer::render(const QString& text, const QString& formats, double scale)
{
    if (box_.isEmpty() || !(scale > 0))
        return {};
    const QRect pixels = [&] {
        if (canvas_)
            return QRect(canvas_->toPixel(box_.topLeft()), canvas_->toPixel(box_.bottomRight())).adjusted(0, 0, -1, -1);
        return QRect();
    }();
    if (!canvas_ || canvas_->scale() != scale) {
        canvas_ = std::make_unique<Surface>(scale);
        if (!canvas_->resize(pageWidth_, pageHeight_))
            return {};
    } else {
        // Only the object's box is drawn: white paper there is enough.
        canvas_->paint([&](QPainter& p) { p.fillRect(pixels, Qt::white); });
    }
    canvas_->rightToLeft = state_.rightToLeft();
    state_.liveTexts[n_] = text;
    state_.liveFormats[n_] = formats;
    PageContext page(store_, state_, *canvas_, edition_);
    DrawTextObject(page, n_, false);
    const QRect box(canvas_->toPixel(box_.topLeft()), canvas_->toPixel(box_.bottomRight()));
    return canvas_->image().copy(box.adjusted(0, 0, -1, -1));
}

} // namespace nuvela
