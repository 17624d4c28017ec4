// The windows' rules measured on cases of our own: captions after the
// language, overlay sizes, overlay directions and highlight, panel captions.
#include "windowfixture.h"

#include "store/numbers.h"
#include "windows/common/controls.h"
#include "windows/common/version.h"
#include "windows/main/pageview.h"
#include "windows/output/picformwindow.h"

#include <QCheckBox>
#include <QLabel>
#include <QTest>

#include <ret/retainer.h>

using test::WindowFixture;

namespace {

TEST_F(WindowFixture, CaptionsFollowTheLanguageThenTheVersion)
{
    folder.write("language/mine.lng", test::ansi("[article]\nform.Caption=My cards\n"
                                                  "[picform]\nversion.Caption=Release\nRetainer1.Caption=View\n"));
    folder.write("templates/textdata.txt", test::ansi("[interface]\nlang=mine\n"));
    start();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("My cards") + nuvela::captionVersionSuffix());
    auto* version = window->output().findChild<QLabel*>("version");
    EXPECT_EQ(version->text(), nuvela::versionLabelText());
    EXPECT_EQ(window->output().findChild<Retainer*>("Retainer1")->caption(), u"View");
    // Built in, the output window's panels have no captions.
    folder.write("templates/textdata.txt", test::ansi("[interface]\nlang=hebrew\n"));
    start();
    for (const char* name : {"Retainer1", "Retainer2"})
        EXPECT_EQ(window->output().findChild<Retainer*>(name)->caption(), QString()) << name;
}

TEST_F(WindowFixture, OverlaysAreScaledSideBySideAndStartTransparent)
{
    folder.write("templates/textdata.txt", test::ansi("[interface]\nlang=english\n"));
    for (QSize screen : {QSize(800, 600), QSize(1024, 768), QSize(1280, 1024)}) {
        start(screen);
        choose("birthday");
        nuvela::PageView* view = window->pageView();
        const double s = view->overlayScale(program->canvas.width(), program->canvas.height());
        const auto fit = view->fit();
        auto expected = [&](const QRectF& r) {
            return QRect(int(nuvela::roundHalfEven(r.x() * s + fit.x)), int(nuvela::roundHalfEven(r.y() * s + fit.y)),
                         int(nuvela::roundHalfEven(r.width() * s)), int(nuvela::roundHalfEven(r.height() * s)));
        };
        for (const auto& [n, box] : program->state.katava)
            EXPECT_EQ(view->textOverlay(n)->geometry(), expected(box)) << screen.width() << " text " << n;
        for (const auto& [n, picture] : program->state.gpic) {
            EXPECT_EQ(view->pictureOverlay(n)->geometry(), expected(picture.box)) << screen.width() << " picture " << n;
            EXPECT_EQ(view->pictureOverlay(n)->layoutDirection(), Qt::RightToLeft) << "pictures keep their direction";
        }
        EXPECT_EQ(view->pictureOverlay(0)->layoutDirection(), Qt::RightToLeft);
    }
    // With the highlight ticked, the overlays of the next template start transparent.
    QTest::mouseClick(window->findChild<QCheckBox*>("chedit"), Qt::LeftButton);
    EXPECT_TRUE(window->pageView()->textOverlay(program->state.katava.begin()->first)->autoFillBackground());
    choose("wedding");
    for (const auto& [n, box] : program->state.katava)
        EXPECT_FALSE(window->pageView()->textOverlay(n)->autoFillBackground()) << n;
}

} // namespace
