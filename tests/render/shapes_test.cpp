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

TEST_F(Shapes, StarsAndTheirLimits)
{
    render(paper() + QStringLiteral(
        "[object1]\nobjtype=polygon\nobjdim=1500,1500,3000,3000\npolyparam=5,0.5\nFILLCOLOR=255\n"
        "[object2]\nobjtype=polygon\nobjdim=6000,1500,1500,1500\npolyparam=2.5,0.5\nFILLCOLOR=255\n"
        "[object3]\nobjtype=polygon\nobjdim=6000,4500,1500,1500\npolyparam=1000000000,0.5\nFILLCOLOR=255\n"
        "[object4]\nobjtype=polygon\nobjdim=1500,6000,1500,1500\npolyparam=5,0.5\n"
        "[object5]\nobjtype=polygon\nobjdim=9000,1500,1500,1500\npolyparam=0\nFILLCOLOR=255\n"));
    // Centre (200, 200), outer radius 100, inner 50. Vertex 1 is the inner
    // vertex straight to the right; the outer tips are at 36°, 108°, 180°, …
    EXPECT_EQ(pixel(200, 200), kRed);
    EXPECT_EQ(pixel(245, 200), kRed);   // inside the inner vertex at (250, 200)
    EXPECT_EQ(pixel(270, 200), kWhite); // beyond it, between two tips
    EXPECT_EQ(pixel(105, 200), kRed);   // near the tip at 180°
    EXPECT_EQ(pixel(270, 150), kRed);   // towards the tip at 36° (up right on screen: −sin)
    // Not drawn: half points, absurd counts, no colour, no points.
    EXPECT_EQ(ink(kRed, QRect(380, 80, 140, 440), 60), QRect());
    EXPECT_EQ(ink(kRed, QRect(80, 380, 140, 140), 60), QRect());
    EXPECT_EQ(ink(kRed, QRect(580, 80, 140, 140), 60), QRect());
}

TEST_F(Shapes, TrianglesPutTheRightAngleAtTheGivenCorner)
{
    struct Case {
        const char* corner;
        QPoint inside, outside; // relative to the box's top-left, box 100 × 100 px
    };
    const Case cases[] = {
        {"1", {10, 10}, {90, 90}}, // right angle top-left
        {"2", {10, 90}, {90, 10}}, // bottom-left
        {"3", {90, 90}, {10, 10}}, // bottom-right
        {"4", {90, 10}, {10, 90}}, // top-right
    };
    for (const Case& c : cases) {
        render(paper() + QStringLiteral("[object1]\nobjtype=triangle\nobjdim=1500,1500,1500,1500\n"
                                        "polyparam=%1\nFILLCOLOR=16711680\n").arg(QLatin1String(c.corner)));
        EXPECT_EQ(pixel(100 + c.inside.x(), 100 + c.inside.y()), kBlue) << "corner " << c.corner;
        EXPECT_EQ(pixel(100 + c.outside.x(), 100 + c.outside.y()), kWhite) << "corner " << c.corner;
    }
    for (const char* bad : {"7", "1.5", "x", ""}) {
        render(paper() + QStringLiteral("[object1]\nobjtype=triangle\nobjdim=1500,1500,1500,1500\n"
                                        "polyparam=%1\nFILLCOLOR=16711680\n").arg(QLatin1String(bad)));
        EXPECT_EQ(ink(kBlue, QRect(90, 90, 120, 120), 60), QRect()) << "corner " << bad;
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
