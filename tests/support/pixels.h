#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

#include <functional>

namespace test {

/// Bounding box of the pixels of image that match, inside area (the whole image when empty).
inline QRect inkBox(const QImage& image, const std::function<bool(QColor)>& match, QRect area = {})
{
    area = (area.isEmpty() ? image.rect() : area) & image.rect();
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (match(image.pixelColor(x, y)))
                box |= QRect(x, y, 1, 1);
    return box;
}

/// How many pixels of image match.
inline int inkCount(const QImage& image, const std::function<bool(QColor)>& match)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += match(image.pixelColor(x, y));
    return n;
}

} // namespace test
