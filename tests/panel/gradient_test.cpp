#include "ret/colors.h"
#include "ret/gradient.h"
#include "ret/panelpaint.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

constexpr qint32 kA = 0x00102030; // start colour, 0x00BBGGRR
constexpr qint32 kB = 0x00F0E0D0; // end colour

QImage surface(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::black);
    return img;
}

QRgb at(const QImage& img, int x, int y) { return img.pixel(x, y) | 0xFF000000u; }

TEST(Ramp, EndPointsAndHalvesToEven)
{
    EXPECT_EQ(ret::rampColor(kA, kB, 0, 10), kA);
    EXPECT_EQ(ret::rampColor(kA, kB, 10, 10), kB);
    // 5 * 0.5 = 2.5 goes to 2, 3 * 0.5 = 1.5 goes to 2, 255 * 0.5 to 128.
    EXPECT_EQ(ret::rampColor(0, 0x00FF0305, 1, 2), 0x00800202);
    EXPECT_EQ(ret::rampColor(kA, kB, 0, 0), kA); // a single entry is the start colour

    // Middle out order.
    const auto odd = ret::colorTable(0, 0x0000003C, 3, true); // ramp 0,20,40,60
    EXPECT_EQ(odd, (std::vector<qint32>{0, 40, 60, 20}));
    const auto even = ret::colorTable(0, 0x00000028, 4, true); // ramp 0,10,20,30,40
    EXPECT_EQ(even, (std::vector<qint32>{0, 20, 40, 30, 10}));
}

// Worked pixels: r(i, n) is entry i of an n-line ramp from A to B.
TEST(DrawGradient, WorkedPixels)
{
    const auto r = [](int i, int n) { return ret::toQRgb(ret::rampColor(kA, kB, i, n)); };
    const QRgb a = ret::toQRgb(kA), b = ret::toQRgb(kB);
    struct Case { int w, h; float angle; bool middleOut; std::vector<std::tuple<int, int, QRgb>> pixels; };
    const Case cases[] = {
        {20, 10, 0, false, {{5, 0, a}, {5, 9, b}}},
        {20, 10, 180, false, {{19, 0, b}, {0, 9, a}}},
        // Middle-out, table walked from its end: R[1] on top, R[0] = A at the bottom.
        {20, 10, 180, true, {{3, 0, r(1, 9)}, {3, 9, a}, {3, 4, b}}},
        {10, 6, 90, false, {{0, 3, a}, {9, 3, b}}},
        {10, 6, 270, false, {{9, 0, a}, {0, 5, b}}},
        // Line x runs from (x, 99) up to (x + 100, -1): pixel (px, py) is line px + py + 1.
        {100, 100, 45, false, {{0, 0, r(1, 199)}, {99, 99, b}, {40, 17, r(58, 199)}}},
        {100, 50, 30, false, {{99, 0, r(58, 107)}, {0, 0, r(1, 107)}, {99, 49, b}}},
    };
    for (const Case& c : cases) {
        QImage img = surface(c.w, c.h);
        ret::DrawGradient(img, c.w, c.h, kA, kB, c.angle, c.middleOut);
        for (const auto& [x, y, expected] : c.pixels)
            EXPECT_EQ(at(img, x, y), expected) << c.angle << " at " << x << "," << y;
    }
}

// The row-by-row drawing must give exactly the pixels of drawing every line.
TEST(DrawGradient, SameAsLineByLine)
{
    for (int angle = -30; angle <= 400; angle += 7) {
        for (bool middleOut : {false, true}) {
            for (auto [w, h, bandH] : {std::tuple{37, 23, 23}, {23, 37, 37}, {64, 40, 9}}) {
                QImage fast = surface(w, h), slow = surface(w, h);
                ret::DrawGradient(fast, w, bandH, kA, kB, float(angle), middleOut);
                ret::drawGradientLineByLine(slow, w, bandH, kA, kB, float(angle), middleOut);
                ASSERT_EQ(fast, slow) << "angle " << angle << " middle-out " << middleOut
                                      << " size " << w << "x" << bandH;
            }
        }
    }
}

TEST(DrawGradient, SlantedBandsAndDegenerateSizes)
{
    QImage slanted = surface(100, 60);
    ret::DrawGradient(slanted, 100, 10, kA, kB, 170, false);
    EXPECT_NE(at(slanted, 99, 20), qRgb(0, 0, 0)); // lines continue below the band
    EXPECT_EQ(at(slanted, 0, 20), qRgb(0, 0, 0));  // but not everywhere
    QImage img = surface(10, 10);
    ret::DrawGradient(img, 10, 0, kA, kB, 30, false); // no height: nothing
    ret::DrawGradient(img, 0, 10, kA, kB, 90, false);
    ret::DrawGradient(img, 10, -4, kA, kB, 180, false);
    EXPECT_EQ(img, surface(10, 10));
    ret::DrawGradient(img, 10, 1, kA, kB, 180, true); // one entry: the single colour
    EXPECT_EQ(at(img, 4, 0), ret::toQRgb(kA));
    EXPECT_EQ(at(img, 4, 1), qRgb(0, 0, 0));
    ret::DrawGradient(img, 10, 10, kA, kB, 30000.0f, false); // huge angle still drawn
}

} // namespace
