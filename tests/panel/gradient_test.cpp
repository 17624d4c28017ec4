#include "ret/colors.h"
#include "ret/gradient.h"
#include "ret/panelpaint.h"

#include <gtest/gtest.h>

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

struct LayoutCase {
    const char* name;
    int w, h;
    float angle;
    bool steep;
    qint64 d, last, from, to, start;
};

class Layout : public testing::TestWithParam<LayoutCase> {};

TEST_P(Layout, MatchesWorkedCase)
{
    const LayoutCase& c = GetParam();
    const ret::GradientLayout g = ret::gradientLayout(c.w, c.h, c.angle);
    EXPECT_EQ(g.steep, c.steep);
    EXPECT_EQ(g.d, c.d);
    EXPECT_EQ(g.last, c.last);
    EXPECT_EQ(g.from, c.from);
    EXPECT_EQ(g.to, c.to);
    EXPECT_EQ(g.start, c.start);
}

INSTANTIATE_TEST_SUITE_P(
    Angles, Layout,
    testing::Values(LayoutCase{"a0", 100, 50, 0, false, 0, 49, 99, -1, 0},
                    LayoutCase{"a30", 100, 50, 30, false, 58, 107, 99, -1, 0},
                    LayoutCase{"a45", 100, 100, 45, true, 100, 199, 99, -1, 0},
                    LayoutCase{"a90", 100, 50, 90, true, 0, 99, 0, 50, 0},
                    LayoutCase{"a180", 100, 50, 180, false, 0, 49, 99, -1, 49},
                    LayoutCase{"a270", 100, 50, 270, true, 0, 99, 0, 50, 99},
                    LayoutCase{"minus90", 100, 50, -90, true, 0, 99, 0, 50, 99},
                    LayoutCase{"a450", 100, 50, 450, true, 0, 99, 0, 50, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Ramp, EndPointsAndHalvesToEven)
{
    EXPECT_EQ(ret::rampColor(kA, kB, 0, 10), kA);
    EXPECT_EQ(ret::rampColor(kA, kB, 10, 10), kB);
    // 5 * 0.5 = 2.5 goes to 2, 3 * 0.5 = 1.5 goes to 2, 255 * 0.5 to 128.
    EXPECT_EQ(ret::rampColor(0, 0x00FF0305, 1, 2), 0x00800202);
    EXPECT_EQ(ret::rampColor(kA, kB, 0, 0), kA); // a single entry is the start colour
}

TEST(Table, MiddleOutOrder)
{
    const auto odd = ret::colorTable(0, 0x0000003C, 3, true); // ramp 0,20,40,60
    EXPECT_EQ(odd, (std::vector<qint32>{0, 40, 60, 20}));
    const auto even = ret::colorTable(0, 0x00000028, 4, true); // ramp 0,10,20,30,40
    EXPECT_EQ(even, (std::vector<qint32>{0, 20, 40, 30, 10}));
}

TEST(DrawGradient, HorizontalAngles)
{
    QImage img = surface(20, 10);
    ret::DrawGradient(img, 20, 10, kA, kB, 0, false);
    EXPECT_EQ(at(img, 5, 0), ret::toQRgb(kA));
    EXPECT_EQ(at(img, 5, 9), ret::toQRgb(kB));
    ret::DrawGradient(img, 20, 10, kA, kB, 180, false);
    EXPECT_EQ(at(img, 19, 0), ret::toQRgb(kB));
    EXPECT_EQ(at(img, 0, 9), ret::toQRgb(kA));
    // Middle-out, table walked from its end: R[1] on top, R[0] = A at the bottom.
    ret::DrawGradient(img, 20, 10, kA, kB, 180, true);
    EXPECT_EQ(at(img, 3, 0), ret::toQRgb(ret::rampColor(kA, kB, 1, 9)));
    EXPECT_EQ(at(img, 3, 9), ret::toQRgb(kA));
    EXPECT_EQ(at(img, 3, 4), ret::toQRgb(kB));
}

TEST(DrawGradient, VerticalAngles)
{
    QImage img = surface(10, 6);
    ret::DrawGradient(img, 10, 6, kA, kB, 90, false);
    EXPECT_EQ(at(img, 0, 3), ret::toQRgb(kA));
    EXPECT_EQ(at(img, 9, 3), ret::toQRgb(kB));
    ret::DrawGradient(img, 10, 6, kA, kB, 270, false);
    EXPECT_EQ(at(img, 9, 0), ret::toQRgb(kA));
    EXPECT_EQ(at(img, 0, 5), ret::toQRgb(kB));
}

TEST(DrawGradient, SlantedWorkedCases)
{
    QImage img = surface(100, 100);
    ret::DrawGradient(img, 100, 100, kA, kB, 45, false);
    // Line x runs from (x, 99) up to (x + 100, -1): pixel (px, py) is line px + py + 1.
    EXPECT_EQ(at(img, 0, 0), ret::toQRgb(ret::rampColor(kA, kB, 1, 199)));
    EXPECT_EQ(at(img, 99, 99), ret::toQRgb(kB));
    EXPECT_EQ(at(img, 40, 17), ret::toQRgb(ret::rampColor(kA, kB, 58, 199)));

    QImage wide = surface(100, 50);
    ret::DrawGradient(wide, 100, 50, kA, kB, 30, false);
    EXPECT_EQ(at(wide, 99, 0), ret::toQRgb(ret::rampColor(kA, kB, 58, 107)));
    EXPECT_EQ(at(wide, 0, 0), ret::toQRgb(ret::rampColor(kA, kB, 1, 107)));
    EXPECT_EQ(at(wide, 99, 49), ret::toQRgb(kB));
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

TEST(DrawGradient, SlantedBandReachesBelowItself)
{
    QImage img = surface(100, 60);
    ret::DrawGradient(img, 100, 10, kA, kB, 170, false);
    EXPECT_NE(at(img, 99, 20), qRgb(0, 0, 0)); // lines continue below the band
    EXPECT_EQ(at(img, 0, 20), qRgb(0, 0, 0));  // but not everywhere
}

TEST(DrawGradient, DegenerateSizes)
{
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

TEST(TranslateColor, PlainSystemAndInvalid)
{
    QPalette palette;
    palette.setColor(QPalette::Active, QPalette::Button, QColor(1, 2, 3));
    palette.setColor(QPalette::Active, QPalette::Highlight, QColor(9, 8, 7));
    EXPECT_EQ(ret::TranslateColor(0x00AB635C, palette), 0x00AB635C);
    EXPECT_EQ(ret::TranslateColor(0x8000000F, palette), 0x00030201); // button face
    EXPECT_EQ(ret::TranslateColor(0x8000000D, palette), 0x00070809); // highlight
    EXPECT_EQ(ret::TranslateColor(0x80000019, palette), ret::kNoColor);
    EXPECT_EQ(ret::TranslateColor(0x800000FF, palette), ret::kNoColor);
    EXPECT_EQ(ret::TranslateColor(0x05000000, palette), ret::kNoColor);
    EXPECT_EQ(ret::toQRgb(ret::kNoColor), qRgb(255, 255, 255));
}

TEST(Region, CornersCutSidesKept)
{
    const QRegion r = ret::roundRectRegion(0, 0, 50, 30, 10, 10);
    EXPECT_FALSE(r.contains(QPoint(0, 0)));
    EXPECT_FALSE(r.contains(QPoint(49, 29)));
    EXPECT_TRUE(r.contains(QPoint(0, 15)));
    EXPECT_TRUE(r.contains(QPoint(25, 0)));
    EXPECT_TRUE(r.contains(QPoint(5, 5)));
    EXPECT_EQ(r.boundingRect(), QRect(0, 0, 50, 30));
    EXPECT_EQ(ret::roundRectRegion(0, 0, 50, 30, 0, 0), QRegion(0, 0, 50, 30));
    EXPECT_TRUE(ret::roundRectRegion(5, 5, 5, 9, 4, 4).isEmpty());
}

} // namespace
