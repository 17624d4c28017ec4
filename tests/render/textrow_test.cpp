#include "pagefixture.h"
#include "support/pixels.h"
#include "canvas/surface.h"
#include "text/rowfont.h"
#include "text/textrow.h"

using namespace nuvela;

namespace {

const QColor kRed(255, 0, 0);

/// Bounding box of the reddish pixels of an image.
QRect redInk(const QImage& image)
{
    return test::inkBox(image, [](QColor c) { return c.red() > 160 && c.green() < 140 && c.blue() < 140; });
}

/// A red Arial 20 row in a box at pixel (100, 100), 400 × 100 pixels.
TextRow redRow(const QString& text, const char* align)
{
    TextRow r;
    r.colour = 255;
    r.font = QStringLiteral("ARIAL");
    r.size = 20;
    r.x = r.y = r.h = 1500;
    r.w = 6000;
    r.text = text;
    r.align = QString::fromLatin1(align);
    return r;
}

// Rows in every alignment on pages of either direction are on the reference
// pages; here are rows beyond their box and alignments that do not exist.
TEST(Condense, ARowTwiceTooWideEndsInsideItsBoxAndAnUnknownAlignmentStays)
{
    Surface s;
    ASSERT_TRUE(s.resize(12000, 9000));
    TextRow row = redRow(QStringLiteral("A headline that is far too long for its box"), "left");
    QFont natural = RowFont{row.font, fontHeightForSize(row.size, s), 0, false}.toQFont();
    row.w = textWidth(natural, row.text, s) / 2;
    const RowFit fit = DrawTextRow(s, false, row);
    EXPECT_GT(fit.attempts, 1);
    EXPECT_LE(fit.textWidth, row.w);
    EXPECT_GT(fit.textWidth, row.w * 0.8); // condensed, not crushed (widths step by whole pixels)
    EXPECT_GE(fit.width, 1);
    const QRect ink = redInk(s.image());
    EXPECT_LE(ink.right() + 1, 100 + s.toPixels(row.w) + 2);
    // A box of one twip, or a negative one, never divides by zero or loops forever.
    for (const int w : {1, -50}) {
        row.w = w;
        const RowFit tiny = DrawTextRow(s, false, row);
        EXPECT_EQ(tiny.width, 1) << w;
        EXPECT_LE(tiny.attempts, kFitAttempts) << w;
    }
    // An unknown alignment keeps the pen where it was across.
    s.pen = QPointF(4500, 0);
    EXPECT_EQ(DrawTextRow(s, false, redRow(QStringLiteral("Kept"), "justify")).pen, QPointF(4500, 1500));
}

TEST(Rotation, TurnedRowsRunUpOrDown)
{
    for (const int angle : {90, -90}) {
        Surface s;
        ASSERT_TRUE(s.resize(12000, 9000));
        TextRow row = redRow(QStringLiteral("Turned"), "left");
        row.angle = angle;
        if (angle > 0)
            row.h = 6000; // 400 pixels: middle at pixel 300
        const RowFit fit = DrawTextRow(s, false, row);
        const QRect ink = redInk(s.image());
        EXPECT_GT(ink.height(), ink.width()) << angle;
        if (angle > 0) {
            EXPECT_NEAR(ink.center().y(), 300, 4); // a quarter turn is centred on the box's middle
        } else {
            EXPECT_EQ(fit.pen, QPointF(1500, 1500)); // a negative angle keeps the aligned position
            EXPECT_GE(ink.top(), 100);               // turned clockwise, below the pen
        }
    }
}

TEST(Scale, ThePageStaysTheSameAtHigherResolution)
{
    Surface one(1), three(3.125);
    ASSERT_TRUE(one.resize(12000, 9000));
    ASSERT_TRUE(three.resize(12000, 9000));
    const TextRow row = redRow(QStringLiteral("Same page, sharper"), "right");
    const RowFit a = DrawTextRow(one, false, row);
    const RowFit b = DrawTextRow(three, false, row);
    // Character heights are whole pixels of each surface, so widths agree
    // to within the rounding of the height (under 2 %).
    EXPECT_NEAR(a.textWidth, b.textWidth, a.textWidth * 0.02);
    EXPECT_NEAR(redInk(one.image()).right() * 15.0, redInk(three.image()).right() * 4.8, 60);
}

// A megabyte in one row, or in a paragraph, is drawn as what a page can show:
// the same pixels as its first characters, a surrogate pair never split.
TEST(LongRows, ShowWhatAPageCanHold)
{
    const QString head = QString(kMaxShownCharacters - 1, u'w') + QChar(0xD83D) + QChar(0xDE00);
    EXPECT_EQ(shownText(head).size(), kMaxShownCharacters - 1);
    const QString huge = QString(1 << 20, u'w');
    const auto draw = [](const QString& text, bool paragraph) {
        Surface s;
        s.resize(12000, 3000);
        if (paragraph)
            DrawParagraph(s, false, text + QString(u'~').repeated(100000), 0, 0);
        else
            DrawTextRow(s, false, redRow(text, "left"));
        return s.image();
    };
    for (const bool paragraph : {false, true})
        EXPECT_EQ(draw(huge, paragraph), draw(huge.left(kMaxShownCharacters), paragraph)) << paragraph;
}

} // namespace
