#include "pagefixture.h"

using test::PageFixture;
using test::paper;

namespace {

const QColor kWhite(255, 255, 255), kRed(255, 0, 0), kBlue(0, 0, 255), kBlack(0, 0, 0),
    kGreen(0, 255, 0);

class Shapes : public PageFixture {};

TEST_F(Shapes, Rectangles)
{
    render(paper() + QStringLiteral(
        "[object1]\nobjtype=malben\nobjdim=1500,1500,1500,1500\n"                          // neither key
        "[object2]\nobjtype=malben\nobjdim=4500,1500,1500,1500\nFILLCOLOR=255\n"          // filled red
        "[object3]\nobjtype=malben\nobjdim=7500,1500,1500,1500\nborder=16711680,3\n"      // blue frame
        "[object4]\nobjtype=malben\nobjdim=1500,4500,1500,1500\nFILLCOLOR=255\nborder=16711680,0\n"));
    // 1: nothing at all.
    EXPECT_EQ(ink(kBlack, QRect(90, 90, 120, 120), 600), QRect());
    // 2: pixels 300..399 filled, outline in the fill colour.
    EXPECT_EQ(ink(kRed, QRect(280, 80, 140, 140), 30), QRect(300, 100, 100, 100));
    // 3: a frame three pixels wide around pixels 500..599, the inside untouched.
    const QRect frame = ink(kBlue, QRect(480, 80, 140, 140), 30);
    EXPECT_EQ(frame, QRect(499, 99, 102, 102));
    EXPECT_EQ(pixel(499, 150), kBlue);
    EXPECT_EQ(pixel(501, 150), kBlue);
    EXPECT_EQ(pixel(502, 150), kWhite);
    EXPECT_EQ(pixel(550, 150), kWhite);
    // 4: a border of width 0 leaves the fill colour as the outline.
    EXPECT_EQ(ink(kBlue, QRect(80, 280, 140, 140), 30), QRect());
    EXPECT_EQ(pixel(100, 300), kRed);
}

TEST_F(Shapes, Ellipses)
{
    render(paper() + QStringLiteral(
        "[object1]\nobjtype=circle\ncircdim=1500,1500,3000,1500\n"        // 200 × 100 px, black outline
        "[object2]\nobjtype=circle\ncircdim=6000,1500,1500,3000\nFILLCOLOR=65280\n"
        "[object3]\nobjtype=circle\ncircdim=9000,1500,0,1500\nFILLCOLOR=255\n")); // no width: not drawn
    const QRect outline = ink(kBlack, QRect(90, 90, 220, 120), 200);
    EXPECT_NEAR(outline.left(), 100, 1);
    EXPECT_NEAR(outline.right(), 299, 1);
    EXPECT_NEAR(outline.top(), 100, 1);
    EXPECT_NEAR(outline.bottom(), 199, 1);
    EXPECT_EQ(pixel(200, 150), kWhite); // transparent interior
    const QRect tall = ink(kGreen, QRect(380, 80, 140, 240), 60);
    EXPECT_NEAR(tall.width(), 100, 2);
    EXPECT_NEAR(tall.height(), 200, 2);
    EXPECT_EQ(ink(kRed, QRect(590, 90, 20, 120), 60), QRect());
}

// The right angle at the given corner; stars as drawn are on the reference
// pages. Not drawn at all: stars of half points, absurd counts, no colour or
// no points, and corners that do not exist.
TEST_F(Shapes, TrianglesAndStarsThatAreNotDrawn)
{
    const std::tuple<const char*, QPoint, QPoint> corners[] = { // inside, outside of the 100 × 100 px box
        {"1", {10, 10}, {90, 90}}, {"2", {10, 90}, {90, 10}}, {"3", {90, 90}, {10, 10}}, {"4", {90, 10}, {10, 90}}};
    for (const auto& [corner, inside, outside] : corners) {
        render(paper() + QStringLiteral("[object1]\nobjtype=triangle\nobjdim=1500,1500,1500,1500\n"
                                        "polyparam=%1\nFILLCOLOR=16711680\n").arg(QLatin1String(corner)));
        EXPECT_EQ(pixel(100 + inside.x(), 100 + inside.y()), kBlue) << "corner " << corner;
        EXPECT_EQ(pixel(100 + outside.x(), 100 + outside.y()), kWhite) << "corner " << corner;
    }
    render(paper() + QStringLiteral(
        "[object1]\nobjtype=polygon\nobjdim=6000,1500,1500,1500\npolyparam=2.5,0.5\nFILLCOLOR=255\n"
        "[object2]\nobjtype=polygon\nobjdim=6000,4500,1500,1500\npolyparam=1000000000,0.5\nFILLCOLOR=255\n"
        "[object3]\nobjtype=polygon\nobjdim=1500,6000,1500,1500\npolyparam=5,0.5\n"
        "[object4]\nobjtype=polygon\nobjdim=9000,1500,1500,1500\npolyparam=0\nFILLCOLOR=255\n"));
    EXPECT_EQ(ink(kRed, {}, 60), QRect());
    for (const char* bad : {"7", "1.5", "x", ""}) {
        render(paper() + QStringLiteral("[object1]\nobjtype=triangle\nobjdim=1500,1500,1500,1500\n"
                                        "polyparam=%1\nFILLCOLOR=16711680\n").arg(QLatin1String(bad)));
        EXPECT_EQ(ink(kBlue, {}, 60), QRect()) << "corner " << bad;
    }
}

TEST_F(Shapes, LineWidthsFollowTheScale)
{
    render(paper() + QStringLiteral("[object1]\nobjtype=malben\nobjdim=1500,1500,1500,1500\nborder=16711680,2\n"),
           {}, 3.125);
    // Two screen pixels are about six pixels at 300 dpi; the box still spans
    // the same twips.
    const QRect frame = ink(kBlue, {}, 30);
    EXPECT_NEAR(frame.width(), 1500 / 4.8 + 3, 3);
    int thickness = 0;
    while (pixel(frame.left() + thickness, frame.center().y()) == kBlue)
        ++thickness;
    EXPECT_EQ(thickness, 6);
}

} // namespace
