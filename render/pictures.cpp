// Picture objects ("picture", "fixpicture"), the headline ("koteret") and the
// colour-keyed copy with which the headline puts its logo on the page.

#include "render/pictures.h"

#include "canvas/colour.h"
#include "render/imagedb/imagedb.h"
#include "render/imagedb/picture_decode.h"
#include "canvas/picturecache.h"
#include "store/numbers.h"
#include "text/textobject.h"

#include <QPainter>
#include <QThread>

#include <cstring>

namespace nuvela {

namespace {

// An invalid picture may be a file that is still being written; it is read
// once more after this wait, then given up.
constexpr int kRetryWaitMs = 1000;

QSize boxPixels(const Surface& canvas, const Fields::Box& box)
{
    return canvas.picturePixels(box.w, box.h);
}

QRectF boxRect(const Fields::Box& b) { return QRectF(b.x, b.y, b.w, b.h); }

/// A picture file, decoded once per version of the file and size.
DecodedPicture decodeFile(PictureCache& cache, const QString& path, QSize needed)
{
    const QString key = PictureCache::keyFor(path, needed);
    if (QImage known = cache.find(key); !known.isNull())
        return {known, DecodedPicture::Failure::None, {}};
    DecodedPicture decoded = decodePictureFile(path, needed);
    if (decoded.ok())
        cache.insert(key, decoded.image);
    return decoded;
}

void wait(PageContext& page, int ms)
{
    if (page.wait)
        page.wait(ms);
    else
        QThread::msleep(ms);
}

// On x86-64 the row blend is also built for the wide vector units and picked
// at run time where the processor has them; elsewhere the compiler's own
// vector code for the target serves.
#if defined(__x86_64__)
#define NUVELA_WIDE_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define NUVELA_WIDE_VECTOR_CLONES
#endif

/// One row of the keyed copy, eight pixels at a time: a key pixel keeps the
/// page's pixel, any other becomes the logo's pixel ANDed with the tint.
NUVELA_WIDE_VECTOR_CLONES
void blendKeyedRow(const QRgb* from, QRgb* to, int width, QRgb key, QRgb tint)
{
    using Lanes = std::uint32_t __attribute__((vector_size(32)));
    constexpr int kLanes = 8;
    const Lanes zero = {};
    const Lanes opaque = zero + 0xFF000000u;
    const Lanes keyLanes = zero + key;
    const Lanes tintLanes = zero + tint;
    int i = 0;
    for (; i + kLanes <= width; i += kLanes) {
        Lanes s, t;
        std::memcpy(&s, from + i, sizeof s);
        std::memcpy(&t, to + i, sizeof t);
        s |= opaque;
        const Lanes keep = reinterpret_cast<Lanes>(s == keyLanes); // all ones for a key pixel
        t = (t & keep) | (s & tintLanes & ~keep);
        std::memcpy(to + i, &t, sizeof t);
    }
    for (; i < width; ++i) {
        const QRgb s = from[i] | 0xFF000000;
        if (s != key)
            to[i] = s & tint;
    }
}

} // namespace

DrawStatus FetchImage(PageContext& page, QStringView table, const QString& title, QSize neededPixels)
{
    const ImageDatabaseFile database = locateImageDatabase(page.store.programDir(), page.edition);
    const QString key = PictureCache::keyFor(database.path, neededPixels,
                                             table.toString() + u'|' + title);
    PictureCache& cache = page.session->pictures;
    if (QImage known = cache.find(key); !known.isNull()) {
        page.staged = known;
        return {};
    }
    const ImageFetch fetch = fetchImageBytes(database, table, title);
    using Cause = PageStop::Cause;
    if (!fetch.ok()) {
        const Cause cause = fetch.noRecord ? Cause::MissingPicture : fetch.busy ? Cause::Busy : Cause::Database;
        return {fetch.error, {cause, title, database.path}};
    }
    const DecodedPicture picture = decodePicture(fetch.bytes, neededPixels);
    if (!picture.ok())
        return {QStringLiteral("The picture \"%1\" of the image database cannot be shown: %2").arg(title, picture.error),
                {Cause::DamagedPicture, title, database.path}};
    page.staged = picture.image;
    cache.insert(key, picture.image);
    return {};
}

void BlitTransparent(QImage& target, const QImage& bitmap, int x, int y, QRgb key, QRgb tint,
                     double scale)
{
    if (target.isNull() || bitmap.isNull())
        return;
    const QImage source = bitmap.convertToFormat(QImage::Format_RGB32);
    const QRgb keyRgb = key | 0xFF000000, tintRgb = tint | 0xFF000000;
    if (scale == 1.0 && target.format() == QImage::Format_RGB32) {
        // The direct form of the mask sequence: keyed pixels keep the page,
        // the others are the logo ANDed with the tint.
        const QRect area = QRect(x, y, source.width(), source.height()) & target.rect();
        const int width = area.width();
        for (int ty = area.top(); ty <= area.bottom(); ++ty) {
            const QRgb* __restrict from =
                reinterpret_cast<const QRgb*>(source.constScanLine(ty - y)) + (area.left() - x);
            QRgb* __restrict to = reinterpret_cast<QRgb*>(target.scanLine(ty)) + area.left();
            blendKeyedRow(from, to, width, keyRgb, tintRgb);
        }
        return;
    }
    // At other scales: the same rule as an alpha mask, resized smoothly
    // (premultiplied, so no key colour bleeds into the edges).
    QPainter p(&target);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(QRectF(x, y, source.width() * scale, source.height() * scale),
                keyedAndTinted(bitmap, key, tint));
}

QImage keyedAndTinted(const QImage& bitmap, QRgb key, QRgb tint)
{
    const QImage source = bitmap.convertToFormat(QImage::Format_RGB32);
    const QRgb keyRgb = key | 0xFF000000, tintRgb = tint | 0xFF000000;
    QImage tinted(source.size(), QImage::Format_ARGB32_Premultiplied);
    for (int sy = 0; sy < source.height(); ++sy) {
        const QRgb* from = reinterpret_cast<const QRgb*>(source.constScanLine(sy));
        QRgb* to = reinterpret_cast<QRgb*>(tinted.scanLine(sy));
        for (int sx = 0; sx < source.width(); ++sx) {
            const QRgb s = from[sx] | 0xFF000000;
            to[sx] = s == keyRgb ? 0 : (s & tintRgb);
        }
    }
    return tinted;
}

bool isPlainPictureName(const QString& name)
{
    if (name.isEmpty() || name.contains(u'\\') || name.contains(u'/') || name.contains(u':'))
        return false;
    return name != u"." && name != u"..";
}

QString picturePath(const QString& programDir, const QString& name)
{
    if (name.contains(u'\\')) {
        QString path = name;
        return path.replace(u'\\', u'/');
    }
    if (name.startsWith(u'/'))
        return name;
    return programDir + QStringLiteral("/temppic/") + name;
}

DrawStatus DrawPictureObject(PageContext& page, int n)
{
    PageState& state = page.state;
    const auto box = Fields(page.objectKey(n, u"picdim")).box();
    if (!box)
        return {};
    if (!state.overlaysPlaced)
        state.gpic[n] = PictureOverlay{boxRect(*box), true, QString()};

    QString name;
    if (state.isModified()) {
        name = state.gpic.count(n) ? state.gpic[n].tag : QString();
    } else {
        name = page.store.get(StoreMode::GetTxt, page.versionSection(), QStringLiteral("pic%1").arg(n));
        if (state.gpic.count(n))
            state.gpic[n].tag = name;
    }
    if (name == u"nopic")
        return {};

    // A missing picture (also the store's "failed": no picture stored yet)
    // shows the placeholder; so does one that cannot be shown at all.
    const QString path = picturePath(page.store.programDir(), name);
    const QSize needed = boxPixels(page.canvas, *box);
    QImage picture;
    PictureCache& cache = page.session->pictures;
    // A file that failed is remembered by its stamp, so the retry's wait
    // comes at most once per version of the file, not on every repaint. The
    // stamp is taken before each read: a file that changes after it is read
    // anew next time.
    QString version = PictureCache::versionKey(path);
    if (!version.isEmpty() && !cache.hasFailed(version)) {
        DecodedPicture decoded = decodeFile(cache, path, needed);
        if (decoded.failure == DecodedPicture::Failure::Invalid) {
            wait(page, kRetryWaitMs);
            version = PictureCache::versionKey(path);
            decoded = decodeFile(cache, path, needed);
        }
        if (decoded.ok())
            picture = decoded.image;
        else if (decoded.failure != DecodedPicture::Failure::Missing)
            cache.rememberFailure(version);
    }
    if (picture.isNull()) {
        if (page.placeholder.isNull() && page.loadPlaceholder)
            page.placeholder = page.loadPlaceholder();
        picture = page.placeholder;
    }
    page.canvas.drawPicture(picture, boxRect(*box));
    return {};
}

DrawStatus DrawFixedPicture(PageContext& page, int n)
{
    const auto box = Fields(page.objectKey(n, u"picdim")).box();
    const QString name = page.objectKey(n, u"picname");
    if (!box)
        return {};
    if (!page.state.overlaysPlaced)
        page.state.gpic[n] = PictureOverlay{boxRect(*box), false, QString()};

    const QSize needed = boxPixels(page.canvas, *box);
    if (name.indexOf(u'.', 1) > 0) {
        // A file of the picture folder; a template cannot reach elsewhere.
        if (!isPlainPictureName(name))
            return {};
        const DecodedPicture decoded =
            decodeFile(page.session->pictures, page.store.programDir() + QStringLiteral("/temppic/") + name, needed);
        if (decoded.ok())
            page.canvas.drawPicture(decoded.image, boxRect(*box));
        return {};
    }
    if (DrawStatus failure = FetchImage(page, u"fixpic", name, needed); failure.stopsPage())
        return failure;
    page.canvas.drawPicture(page.staged, boxRect(*box));
    return {};
}

DrawStatus DrawHeadline(PageContext& page, int n)
{
    PageState& state = page.state;
    HeadlineControls& controls = state.headline;
    const QString type = page.objectKey(n, u"type");
    const Fields at(page.objectKey(n, u"picdim"));
    const bool hasText = page.objectKey(n, u"shura1") != kFailed;

    controls.kotxtTag = QString::number(n);
    if (DrawStatus failure = FetchImage(page, u"logobank", type); failure.stopsPage())
        return failure;
    controls.kotxtVisible = hasText;
    if (controls.kotxtChecked)
        return DrawTextObject(page, n, true);

    const std::uint32_t colour = parseColour(page.objectKey(n, u"FILLCOLOR")).value_or(0);
    const auto x = at.number(0), y = at.number(1);
    if (colour != 0) {
        if (page.objectKey(n, u"showbot") == u"true") {
            controls.collVisible = true;
            if (!state.isModified()) {
                controls.collColour = colour;
                const auto saved = parseColour(
                    page.store.get(StoreMode::GetTxt, page.versionSection(), u"cotarcolor"));
                if (saved)
                    controls.collColour = *saved;
            }
        } else {
            controls.collColour = colour;
        }
        if (x && y) {
            const QPoint at = page.canvas.toPixel(QPointF(*x, *y));
            const QRgb tint = colourFromRef(controls.collColour).rgb();
            BlitTransparent(page.canvas.image(), page.staged, at.x(), at.y(), kLogoKey, tint,
                            page.canvas.scale());
            page.canvas.paintVector([&](QPainter& p) {
                p.setRenderHint(QPainter::SmoothPixmapTransform);
                p.drawImage(QRectF(at, QSizeF(page.staged.size()) * page.canvas.scale()),
                            keyedAndTinted(page.staged, kLogoKey, tint));
            });
        }
    } else if (x && y) {
        page.canvas.drawPictureAt(page.staged, QPointF(*x, *y));
    }
    return {};
}

} // namespace nuvela
