#include "pagefixture.h"
#include "text/paragraph.h"
#include "text/rowfont.h"
#include "text/textobject.h"

#include <QFontMetricsF>

using namespace Qt::StringLiterals;

using test::PageFixture;
using test::paper;

namespace {

const QColor kRed(255, 0, 0), kBlue(0, 0, 255), kGreen(0, 160, 0);

// Three rows: red, blue and green, one above the other in a box at pixels
// (100, 100) … (500, 400).
const QString kThreeRows = QStringLiteral(
    "[object1]\nobjtype=text\nobjdim=1500,1500,6000,4500\n"
    "shura1=255,ARIAL,20,True,0,0,left,0\n"
    "shura2=16711680,ARIAL,20,False,0,1500,left,0\n"
    "shura3=40960,ARIAL,20,False,0,3000,left,0\n");

class TextObjects : public PageFixture {};

TEST_F(TextObjects, NoStoredTextDrawsNothingAndTakesTheTemplatesFormats)
{
    render(paper() + kThreeRows);
    EXPECT_EQ(state.liveTexts.value(1), QString()); // never the word "failed"
    EXPECT_EQ(state.liveFormats.value(1),
              u"255,ARIAL,20,True,0,0,left,0~16711680,ARIAL,20,False,0,1500,left,0~"
              u"40960,ARIAL,20,False,0,3000,left,0");
    EXPECT_EQ(ink(kRed, QRect(90, 90, 500, 400), 150), QRect());
}

TEST_F(TextObjects, StoredRowsInStoredFormatsCompletedRowByRow)
{
    // Row 1 has a complete stored format (green), row 2 only four fields
    // (ignored), row 3 none: rows 2 and 3 keep their own definitions.
    render(paper() + kThreeRows,
           QStringLiteral("[tav101girsa1]\ntxt0=ok\ntxt1=First~Second~Third~Fourth\n"
                          "col1=40960,ARIAL,20,False,0~255,ARIAL,20,False\n"));
    EXPECT_EQ(state.liveTexts.value(1), u"First~Second~Third~Fourth");
    EXPECT_EQ(state.liveFormats.value(1),
              u"40960,ARIAL,20,False,0~16711680,ARIAL,20,False,0,1500,left,0~"
              u"40960,ARIAL,20,False,0,3000,left,0");
    for (const auto& [colour, top] : {std::pair{kGreen, 90}, {kBlue, 190}, {kGreen, 290}})
        EXPECT_FALSE(ink(colour, QRect(90, top, 500, 60), 150).isEmpty()) << top;
    EXPECT_EQ(ink(kRed, QRect(90, 90, 500, 400), 150), QRect()); // the short format was not used
    // Only three definitions: the fourth text row is not drawn anywhere.
    EXPECT_EQ(ink(kGreen, QRect(90, 400, 600, 150), 150), QRect());
}

TEST_F(TextObjects, AtMostTenRowsEditableAndSixFixed)
{
    QString t = paper() + QStringLiteral("[object1]\nobjtype=text\nobjdim=0,0,12000,9000\n");
    QString f = QStringLiteral("[object2]\nobjtype=fixtext\nobjdim=0,0,12000,9000\n");
    QString texts;
    for (int k = 1; k <= 11; ++k) {
        t += QStringLiteral("shura%1=255,ARIAL,10,False,0,%2,left,0\n").arg(k).arg(k * 600);
        f += QStringLiteral("shura%1=16711680,ARIAL,10,False,0,%2,right,0\ntxt%1=Fixed %1\n").arg(k).arg(k * 600);
        texts += QStringLiteral("Row %1~").arg(k);
    }
    render(t + f, QStringLiteral("[tav101girsa1]\ntxt0=ok\ntxt1=") + texts + u'\n');
    EXPECT_EQ(state.liveFormats[1].count(u'~'), 9); // ten definitions read
    // Row k sits at k × 40 pixels: rows 1-10 red, row 11 missing.
    EXPECT_FALSE(ink(kRed, QRect(0, 400, 300, 30), 150).isEmpty());
    EXPECT_EQ(ink(kRed, QRect(0, 440, 300, 30), 150), QRect());
    EXPECT_FALSE(ink(kBlue, QRect(500, 240, 300, 30), 150).isEmpty());
    EXPECT_EQ(ink(kBlue, QRect(500, 280, 300, 30), 150), QRect());
}

// Every line starts where its reading starts: at the left in left-to-right
// text, at the right in right-to-left text, at every scale; a justified line
// fills the box, a line the user ended short does not.
TEST_F(TextObjects, FullRowPrintsTheWholeTextAsAParagraph)
{
    // ARIAL 16 at 15 twips a pixel: 21 pixels high; the box is 400 pixels wide.
    const QString full = nuvela::JustifyLine(u"wide words spread over the whole box"_s, 6000, [](const QString& t) {
        return QFontMetricsF(nuvela::RowFont{u"ARIAL"_s, 21, 0, false}.toQFont()).horizontalAdvance(t) * 15;
    });
    for (const char* align : {"ltr", "rtl"})
        for (const double scale : {1.0, 0.5, 1.7}) {
            SCOPED_TRACE(std::string(align) + " " + std::to_string(scale));
            render(paper(align) + u"[object1]\nobjtype=text\nobjdim=1500,1500,6000,4500\n"
                                  u"shura1=255,ARIAL,16,False,0,900,full,0\n"_s,
                   u"[tav101girsa1]\ntxt0=ok\ntxt1="_s + full + u"~short~end~last~\n"_s, scale);
            const bool rtl = align[0] == 'r';
            const double boxLeft = (rtl ? 12000 - 1500 - 6000 : 1500) / 15 * scale;
            const double boxRight = (rtl ? 12000 - 1500 : 7500) / 15 * scale;
            // The lines, as bands of rows with ink.
            QList<QRect> lines;
            bool inLine = false;
            for (int y = 0; y < image().height(); ++y) {
                const QRect row = ink(kRed, QRect(0, y, image().width(), 1), 150);
                if (!row.isEmpty() && inLine)
                    lines.last() |= row;
                else if (!row.isEmpty())
                    lines << row;
                inLine = !row.isEmpty();
            }
            ASSERT_EQ(lines.size(), 4);
            EXPECT_NEAR(lines[0].top(), 100 * scale, 2 + 4 * scale); // at the box's top: the offset does not apply
            // The justified line starts at the start edge and reaches the other;
            // fonts of whole pixels make it a few percent off at other scales.
            EXPECT_NEAR(rtl ? lines[0].right() : lines[0].left(), rtl ? boxRight : boxLeft, 1 + 2 * scale);
            EXPECT_NEAR(rtl ? lines[0].left() : lines[0].right(), rtl ? boxLeft : boxRight, 2 + 0.04 * (boxRight - boxLeft));
            for (int i = 1; i < 4; ++i) {
                EXPECT_LT(lines[i].width(), (boxRight - boxLeft) / 4) << i;
                EXPECT_NEAR(rtl ? lines[i].right() : lines[i].left(), rtl ? boxRight : boxLeft, 1 + 2 * scale) << i;
            }
        }
}

TEST_F(TextObjects, OverlaysArePlacedOnceAndSitOverTheDrawnText)
{
    render(test::paper("rtl") + kThreeRows);
    ASSERT_EQ(state.katava.count(1), 1u);
    EXPECT_EQ(state.katava[1], QRectF(12000 - 1500 - 6000, 1500, 6000, 4500));
    state.overlaysPlaced = true;
    state.katava.clear();
    nuvela::DrawPage(*page);
    EXPECT_TRUE(state.katava.empty());
}

} // namespace
