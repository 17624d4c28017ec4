#include "pagefixture.h"
#include "render/preview.h"
#include "support/pixels.h"

using test::PageFixture;
using test::paper;
using nuvela::PageEnd;

namespace {

const QColor kRed(255, 0, 0), kBlue(0, 0, 255);

// A red square (object 1) and a text object (object 2) with one row.
const QString kPage = paper() + QStringLiteral(
    "[object1]\nobjtype=malben\nobjdim=300,300,1500,1500\nFILLCOLOR=255\n"
    "[object2]\nobjtype=text\nobjdim=3000,3000,6000,1500\n"
    "shura1=255,ARIAL,20,True,0,0,left,0\n");
const QString kTexts = QStringLiteral("[tav101girsa1]\ntxt0=ok\ntxt2=Stored\n");

class Preview : public PageFixture {};

TEST_F(Preview, DrawsFromACopyAndLeavesTheProgramsStateAlone)
{
    render(kPage, kTexts);
    const QImage page = image().copy();
    nuvela::PageState edited = state;
    edited.liveTexts[2] = QStringLiteral("Edited text that is much longer");
    edited.liveFormats[2] = QStringLiteral("16711680,ARIAL,20,True,0");
    nuvela::markModified(edited);
    const auto overlays = state.katava;

    nuvela::PagePreview preview(folder.path());
    struct Case { int onlyObject; bool square, blueText, footer; };
    const Case cases[] = {{0, true, true, true}, {2, false, true, false}, {1, true, false, false}};
    for (const Case& c : cases) {
        const nuvela::PagePicture shot = preview.draw(edited, c.onlyObject);
        ASSERT_EQ(shot.outcome.end, PageEnd::Complete);
        ASSERT_EQ(shot.image.size(), page.size());
        EXPECT_EQ(shot.image.pixelColor(50, 50) == kRed, c.square) << c.onlyObject;
        const bool blue = !test::inkBox(shot.image, [](QColor p) { return p.blue() > 200 && p.red() < 80; }, {0, 200, 800, 100}).isEmpty();
        EXPECT_EQ(blue, c.blueText) << c.onlyObject;
        const bool footer = !test::inkBox(shot.image, [](QColor p) { return p.value() < 128; }, {0, 545, 800, 55}).isEmpty();
        EXPECT_EQ(footer, c.footer) << c.onlyObject;
    }
    // The program's page, state and overlays are as they were.
    EXPECT_EQ(image(), page);
    EXPECT_EQ(state.liveTexts.value(2), u"Stored");
    EXPECT_FALSE(state.isModified());
    EXPECT_EQ(state.katava, overlays);
}

TEST_F(Preview, APreviewDuringAPageRenderIsNeitherRefusedNorRefusesIt)
{
    render(kPage, kTexts);
    nuvela::PagePreview preview(folder.path());
    nuvela::PagePicture inner;
    page->started = [&] { inner = preview.draw(state); };
    EXPECT_EQ(nuvela::DrawPage(*page).end, PageEnd::Complete);
    EXPECT_EQ(inner.outcome.end, PageEnd::Complete);
    EXPECT_EQ(inner.image.pixelColor(50, 50), kRed);
    EXPECT_EQ(pixel(50, 50), kRed);
}

} // namespace
