#include "pagefixture.h"
#include "store/templates.h"

using test::PageFixture;
using test::paper;
using nuvela::PageEnd;

namespace {

const QColor kRed(255, 0, 0);

QString square(int n, int index, const char* type = "malben")
{
    // Squares of 10 × 10 pixels in rows of 20.
    return QStringLiteral("[object%1]\nobjtype=%2\nobjdim=%3,%4,150,150\nFILLCOLOR=255\n")
        .arg(n).arg(QLatin1String(type)).arg(300 + (index % 20) * 450).arg(300 + (index / 20) * 450);
}

QPoint squareCentre(int index) { return {20 + (index % 20) * 30 + 5, 20 + (index / 20) * 30 + 5}; }

class Driver : public PageFixture {};

TEST_F(Driver, WhichObjectsAreDrawn)
{
    const auto red = [&](int index) { return pixel(squareCentre(index).x(), squareCentre(index).y()) == kRed; };
    QString t = paper();
    for (int n = 1; n <= 60; ++n)
        t += square(n, n - 1);
    EXPECT_EQ(render(t).end, PageEnd::Complete);
    EXPECT_TRUE(red(49));  // object 50
    EXPECT_FALSE(red(50)); // object 51: at most fifty
    render(paper() + square(2, 0) + square(3, 1));
    EXPECT_FALSE(red(0)) << "numbering starts at 1; a gap ends the list";
    // Type words are case sensitive; an unknown one is skipped.
    render(paper() + square(1, 0, "Malben") + square(2, 1) + square(3, 2, "unknown") + square(4, 3));
    EXPECT_FALSE(red(0));
    EXPECT_TRUE(red(1));
    EXPECT_TRUE(red(3));
}

// Ink in the band at the foot of the page: the address at one side, the
// notice at the other, nothing above the band. The notice's full stop ends
// its sentence on pages of either direction: the left edge of the Hebrew
// notice (main edition) is the stop (short), of the English one a capital
// (tall). The notice is the lower of the two footer rows.
TEST_F(Driver, FooterInBothEditionsAndDirections)
{
    const QColor footer(0x33, 0x30, 0x2B);
    for (const char* align : {"ltr", "rtl"}) {
        for (const char* id : {"101", "201"}) {
            render(paper(align, id));
            EXPECT_EQ(ink(footer, QRect(0, 0, 800, 540), 120), QRect()) << align << id;
            QRect notice;
            for (const QRect half : {QRect(0, 545, 400, 55), QRect(400, 545, 400, 55)}) {
                const QRect found = ink(footer, half, 120);
                EXPECT_FALSE(found.isEmpty()) << align << id;
                if (!found.isEmpty() && (notice.isEmpty() || found.height() < notice.height()))
                    notice = found;
            }
            ASSERT_FALSE(notice.isEmpty()) << align << id;
            const QRect leftEdge = ink(footer, QRect(notice.left(), notice.top(), 3, notice.height()), 120);
            EXPECT_EQ(leftEdge.top() > notice.top() + notice.height() / 2, id[0] == '1') << align << " " << id;
        }
    }
}

TEST_F(Driver, PagesWithoutAUsableSizeAreRefusedClearly)
{
    struct Case { const char* size; const char* says; };
    for (const Case& c : {Case{"", "page size"}, Case{"abc,100", "page size"},
                          Case{"-5,100", "not a page"}, Case{"900000,900000", "at most"}}) {
        const auto outcome = render(QStringLiteral("[templateid]\nid=101\n[paper]\nsize=%1\n")
                                        .arg(QLatin1String(c.size)));
        EXPECT_EQ(outcome.end, PageEnd::NoPage) << c.size;
        EXPECT_NE(outcome.error.indexOf(QLatin1String(c.says)), -1) << outcome.error.toStdString();
    }
}

TEST_F(Driver, ARenderNeverNests)
{
    render(paper() + square(1, 0));
    nuvela::PageOutcome inner;
    page->started = [&] { inner = nuvela::DrawPage(*page); };
    EXPECT_EQ(nuvela::DrawPage(*page).end, PageEnd::Complete);
    EXPECT_EQ(inner.end, PageEnd::Refused);
}

TEST_F(Driver, BrokenTemplatesNeverCrash)
{
    const QString longLine(200000, u'9');
    const char* const objects[] = {
        "[object1]\nobjtype=malben\nobjdim=1,2\nFILLCOLOR=x\nborder=,,,\n",
        "[object1]\nobjtype=circle\ncircdim=1e15,1e15,1e15,-1e15\nborder=1,1e15\n",
        "[object1]\nobjtype=polygon\nobjdim=0,0,100,100\npolyparam=,\nFILLCOLOR=1\n",
        "[object1]\nobjtype=triangle\nobjdim=0,0,100,100\npolyparam=-99999999999\nFILLCOLOR=1\n",
        "[object1]\nobjtype=text\nobjdim=0,0,0,0\nshura1=,,,,,,,\nshura2=1,ARIAL,1e9,True,0,0,left,1e9\n",
        "[object1]\nobjtype=fixtext\nobjdim=0,0,-500,100\nshura1=0,ARIAL,-12,True,0,0,center,0\ntxt1=x\n",
        "[object1]\nobjtype=text\nobjdim=0,0,100,100\nshura1=0,ARIAL,12,True,0,0,full,0\n",
    };
    for (const char* o : objects) {
        EXPECT_NE(render(paper() + QString::fromLatin1(o)).end, PageEnd::Refused) << o;
    }
    EXPECT_EQ(render(paper() + QStringLiteral("[object1]\nobjtype=text\nobjdim=0,0,100,100\n"
                                              "shura1=0,ARIAL,12,True,0,0,left,0\n"),
                     QStringLiteral("[tav101girsa1]\ntxt1=") + longLine + u'\n')
                  .end,
              PageEnd::Complete);
    // Bytes the code page does not define are read as replacement characters.
    folder.write("templates/page.ini", QByteArray("[templateid]\r\nid=1\xFF\x81\r\n[paper]\r\nsize=1500,1500\r\n"));
    EXPECT_TRUE(nuvela::selectTemplate(store, state, QStringLiteral("page")).isEmpty());
    EXPECT_EQ(nuvela::DrawPage(*page).end, PageEnd::Complete);
}

} // namespace
