#pragma once

#include "support/testdirs.h"

#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QRect>
#include <QStringList>

#include <algorithm>
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

/// Share of the pixels of a that differ from b's by more than tolerance in a
/// channel (1 when the sizes differ); marked, when asked for, shows them red
/// on a faded copy of a.
inline double differingShare(const QImage& a, const QImage& b, int tolerance = 0, QImage* marked = nullptr)
{
    if (a.size() != b.size() || a.isNull())
        return 1;
    const QImage pa = a.convertToFormat(QImage::Format_RGB32), pb = b.convertToFormat(QImage::Format_RGB32);
    if (marked)
        *marked = QImage(a.size(), QImage::Format_RGB32);
    qint64 differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = pa.pixel(x, y), q = pb.pixel(x, y);
            const bool differs = std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                           std::abs(qBlue(p) - qBlue(q))}) > tolerance;
            differing += differs;
            const int grey = 192 + qGray(p) / 4;
            if (marked)
                marked->setPixel(x, y, differs ? qRgb(255, 0, 0) : qRgb(grey, grey, grey));
        }
    }
    return double(differing) / (double(a.width()) * a.height());
}

/// A picture in four colours split off-centre (at 30 % across, 60 % down),
/// so that a shift, a stretch or a mirror shows.
constexpr QRgb kTopLeft = 0xffff0000, kTopRight = 0xff00c000, kBottomLeft = 0xff0000ff,
               kBottomRight = 0xffffd000;
constexpr double kSplitX = 0.3, kSplitY = 0.6;

/// The sides of a control (its grabs with and without the keyboard focus)
/// that the focus leaves unmarked, as "x,y" of their middles: a focus mark
/// is seen round the whole control, not only on its handle.
inline QStringList unmarkedSides(const QImage& focused, const QImage& unfocused)
{
    QStringList unmarked;
    const int w = focused.width(), h = focused.height();
    for (const QPoint side : {QPoint(w / 2, 0), QPoint(w / 2, h - 3), QPoint(0, h / 2), QPoint(w - 3, h / 2)}) {
        bool marked = false;
        for (int i = 0; i < 9; ++i)
            marked = marked || focused.pixel(side + QPoint(i % 3, i / 3)) != unfocused.pixel(side + QPoint(i % 3, i / 3));
        if (!marked)
            unmarked << QStringLiteral("%1,%2").arg(side.x()).arg(side.y());
    }
    return unmarked;
}

inline QImage quadrants(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, y < h * kSplitY ? (x < w * kSplitX ? kTopLeft : kTopRight)
                                                 : (x < w * kSplitX ? kBottomLeft : kBottomRight));
    return image;
}

/// The pages of a PDF file rasterised at 96 dpi, as PNG files beside it.
inline QList<QImage> pdfPages(const QString& pdf)
{
    const QString stem = pdf + QStringLiteral("-page");
    runTool(QStringLiteral("pdftoppm"), {"-r", "96", "-png", pdf, stem});
    QList<QImage> pages;
    const QFileInfo info(stem);
    for (const QFileInfo& f : QDir(info.path()).entryInfoList({info.fileName() + "-*.png"}, QDir::Files, QDir::Name))
        pages.append(QImage(f.filePath()).convertToFormat(QImage::Format_RGB32));
    return pages;
}

} // namespace test
