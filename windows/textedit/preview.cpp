#include "windows/textedit/preview.h"

#include "store/keystore.h"
#include "store/numbers.h"

#include <algorithm>

namespace nuvela {

PreviewRenderer::PreviewRenderer(const QString& programDir, KeyStore& store, const PageState& state,
                                 Edition edition, int objectNumber)
    : programDir_(programDir)
    , state_(state)
    , edition_(edition)
    , n_(objectNumber)
{
    // The copy draws from its live tables.
    state_.modified = QStringLiteral("preview");
    state_.growLiveTables(n_);
    const Fields size(store.get(StoreMode::Get, u"paper", u"size"));
    const double pageWidth = size.number(0).value_or(0);
    if (const auto b = Fields(store.get(StoreMode::Get, QStringLiteral("object%1").arg(n_), u"objdim")).box()) {
        const double x = state_.rightToLeft() ? pageWidth - b->x - b->w : b->x;
        box_ = QRectF(x, b->y, b->w, b->h);
    } else if (state_.katava.count(n_)) {
        box_ = state_.katava.at(n_); // the headline's text stands where its overlay is
    }
}

QImage PreviewRenderer::render(const QString& text, const QString& formats, double scale)
{
    if (box_.isEmpty() || !(scale > 0))
        return {};
    // Drawn at the page's own resolution and only then scaled: fonts rounded
    // to whole pixels at another scale would give the lines other widths than
    // the ones they were justified to, and their ends would fall off the box.
    if (!preview_)
        preview_ = std::make_unique<PagePreview>(programDir_, edition_);
    state_.liveTexts[n_] = text;
    state_.liveFormats[n_] = formats;
    const QImage page = preview_->draw(state_, n_).image;
    const double pixel = kScreenTwipsPerPixel;
    const QRect pixels(qRound(box_.x() / pixel), qRound(box_.y() / pixel), qRound(box_.width() / pixel),
                       qRound(box_.height() / pixel));
    const QImage boxed = page.copy(pixels);
    const QSize size(std::max(1, qRound(boxed.width() * scale)), std::max(1, qRound(boxed.height() * scale)));
    return size == boxed.size() ? boxed : boxed.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace nuvela
