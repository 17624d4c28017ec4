#include "pagefixture.h"

using test::PageFixture;
using test::paper;

namespace {

const QColor kWhite(255, 255, 255), kRed(255, 0, 0), kBlue(0, 0, 255), kBlack(0, 0, 0);

class Shapes : public PageFixture {};

// Shapes as drawn are on the reference pages; here is what only rules
// decide: an ellipse without fill shows what lies below it, a border of width
// 0 leaves the fill colour as the outline, and a box with neither key or an
// ellipse without width draws nothing.
TEST_F(Shapes, FillsOutlinesAndWhatIsNotDrawn)
{
    render(paper() + QStringLiteral(
        "[object1]\nobjtype=malben\nobjdim=1500,1500,1500,1500\nFILLCOLOR=255\n"
        "[object2]\nobjtype=circle\ncircdim=1500,1500,1500,1500\n"
        "[object3]\nobjtype=malben\nobjdim=4500,1500,1500,1500\n"
        "[object4]\nobjtype=malben\nobjdim=1500,4500,1500,1500\nFILLCOLOR=255\nborder=16711680,0\n"
        "[object5]\nobjtype=circle\ncircdim=7500,1500,0,1500\nFILLCOLOR=255\n"));
    EXPECT_EQ(pixel(150, 150), kRed);
    EXPECT_EQ(ink(kBlack, QRect(290, 90, 120, 120), 600), QRect());
    EXPECT_EQ(ink(kBlue, QRect(80, 280, 140, 140), 30), QRect());
    EXPECT_EQ(pixel(100, 300), kRed);
    EXPECT_EQ(ink(kRed, QRect(490, 90, 20, 120), 60), QRect());
}

// Triangles and stars as drawn are on the reference pages. Not drawn at
// all: stars of half points, absurd counts, no colour or no points, and
// corners that do not exist.
TEST_F(Shapes, TrianglesAndStarsThatAreNotDrawn)
{
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
