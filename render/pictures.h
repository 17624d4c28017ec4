#pragma once

#include "canvas/page.h"

#include <QImage>
#include <QRgb>
#include <QSize>

namespace nuvela {

/// Key colour of the logo pictures: pure blue stays transparent.
inline constexpr QRgb kLogoKey = 0xFF0000FF;

/// `FetchImage`: looks title up in table ("logobank" or "fixpic") of the
/// edition's image database and stages the picture in page.staged, decoded
/// at no more than neededPixels when given. Returns nothing, or the failure
/// that stops the page: its text and what failed.
DrawStatus FetchImage(PageContext& page, QStringView table, const QString& title,
                      QSize neededPixels = {});

/// `BlitTransparent`: copies bitmap onto target with its top-left corner at
/// pixel (x, y): pixels of exactly the key colour leave the target as it
/// was, every other pixel becomes the bitmap's pixel ANDed bit by bit with
/// the tint. The bitmap is in screen pixels; at another scale it is resized
/// smoothly, keeping the keyed-out pixels out.
void BlitTransparent(QImage& target, const QImage& bitmap, int x, int y, QRgb key, QRgb tint,
                     double scale = 1.0);

/// The same rule as a picture of its own: keyed pixels fully transparent,
/// the others opaque and ANDed with the tint (premultiplied ARGB).
QImage keyedAndTinted(const QImage& bitmap, QRgb key, QRgb tint);

/// A fixed picture's file name may only name a file inside the picture
/// folder: no folder separators, drive colons or ".." parts.
bool isPlainPictureName(const QString& name);

/// The path a picture object's picture name stands for: a full path (a name
/// holding a backslash, or an absolute path) or a file of the picture folder.
QString picturePath(const QString& programDir, const QString& name);

// The picture drawers, dispatched by the render driver.
DrawStatus DrawPictureObject(PageContext& page, int n);
DrawStatus DrawFixedPicture(PageContext& page, int n);
DrawStatus DrawHeadline(PageContext& page, int n);

} // namespace nuvela
