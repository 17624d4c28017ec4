#include "windowfixture.h"

#include "store/templates.h"
#include "windows/common/controls.h"
#include "windows/common/version.h"
#include "windows/common/webpane.h"
#include "windows/main/pageview.h"
#include "windows/output/picformwindow.h"

#include <QCheckBox>
#include <QFile>
#include <QFontDatabase>
#include <QLabel>
#include <QScrollBar>
#include <QTest>

#include <ret/retainer.h>

using test::WindowFixture;

namespace {

TEST_F(WindowFixture, StartUp)
{
    folder.write("templates/x.ini.ini", test::ansi("[templateid]\nid=105\n[paper]\nsize=1500,1500\n"));
    start();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Nuvela") + nuvela::captionVersionSuffix());
    EXPECT_TRUE(window->windowTitle().startsWith(u"Nuvela  "));
    QStringList listed;
    for (int i = 0; i < window->gallery()->count(); ++i)
        listed << window->gallery()->item(i)->text();
    EXPECT_TRUE(listed.contains(u"x.ini"));
    EXPECT_TRUE(listed.contains(u"birthday"));
    EXPECT_EQ(program->state.language, u"hebrew");
    EXPECT_EQ(window->titlePanel()->caption(), u"     - תבנית");
    EXPECT_EQ(window->layoutDirection(), Qt::RightToLeft);
    // Web mode: the start page shows, no template is selected.
    EXPECT_EQ(window->gallery()->currentRow(), -1);
    EXPECT_FALSE(window->pageView()->isVisibleTo(window.get()));
    EXPECT_TRUE(window->web()->source().toString().endsWith(u"preload.html"));
}

TEST_F(WindowFixture, LanguagesAtStartUp)
{
    struct Case {
        const char* lang;
        const char* current;
        const char16_t* caption;
    };
    for (const Case& c : {Case{"english", "english", u"Template"}, Case{"klingon", "hebrew", u"     - תבנית"},
                          Case{"Hebrew", "hebrew", u"     - תבנית"}}) {
        folder.write("templates/textdata.txt", test::ansi(QStringLiteral("[interface]\nlang=%1\n").arg(QLatin1String(c.lang))));
        start();
        EXPECT_EQ(program->state.language, QLatin1String(c.current)) << c.lang;
        EXPECT_EQ(window->titlePanel()->caption(), QStringView(c.caption)) << c.lang;
    }
    // In English the gallery reads left to right, the panels keep their own.
    EXPECT_EQ(window->gallery()->layoutDirection(), Qt::RightToLeft);
    folder.write("templates/textdata.txt", test::ansi("[interface]\nlang=english\n"));
    start();
    EXPECT_EQ(window->gallery()->layoutDirection(), Qt::LeftToRight);
    EXPECT_TRUE(window->web()->source().toString().endsWith(u"preload-english.html"));
}

TEST_F(WindowFixture, ChoosingATemplateDrawsItAndPlacesTheOverlaysOnce)
{
    start();
    choose("birthday");
    const nuvela::PageState& s = program->state;
    ASSERT_EQ(window->lastOutcome().end, nuvela::PageEnd::Complete) << window->lastOutcome().error.toStdString();
    EXPECT_EQ(s.tavnit, u"birthday");
    EXPECT_EQ(s.templateId, u"101");
    EXPECT_TRUE(s.overlaysPlaced);
    EXPECT_EQ(nuvela::widgetTag(window->gallery()), u"fin");
    EXPECT_EQ(nuvela::widgetTag(window->titlePanel()), u"101");
    EXPECT_EQ(window->titlePanel()->caption(), u"תבנית - 101");
    EXPECT_TRUE(window->pageView()->isVisibleTo(window.get()));
    EXPECT_EQ(window->versionScroller()->maximum(), 2);
    EXPECT_EQ(window->versionCounter()->text(), u"גירסה - 1");

    // Where each overlay sits is measured exactly at three screens elsewhere.
    nuvela::PageView* view = window->pageView();
    ASSERT_FALSE(s.katava.empty());
    for (const auto& [n, box] : s.katava) {
        ASSERT_NE(view->textOverlay(n), nullptr) << n;
        EXPECT_TRUE(view->textOverlay(n)->isVisibleTo(view));
        EXPECT_EQ(view->textOverlay(n)->toolTip(), u"לחץ לעריכת טקסט");
    }
    EXPECT_EQ(view->textOverlayCount(), int(s.katava.size()));
    EXPECT_EQ(view->pictureOverlayCount(), int(s.gpic.size()));

    // A later render leaves the overlays where they are.
    const QRect before = view->textOverlay(s.katava.begin()->first)->geometry();
    QLabel* same = view->textOverlay(s.katava.begin()->first);
    window->viewpic();
    EXPECT_EQ(view->textOverlay(s.katava.begin()->first), same);
    EXPECT_EQ(same->geometry(), before);
    EXPECT_EQ(view->textOverlayCount(), int(s.katava.size()));
}

TEST_F(WindowFixture, BrowsingVersions)
{
    start();
    choose("birthday");
    constexpr int kHeadline = 8; // the main headline of the birthday page
    const QString first = program->state.liveTexts.value(kHeadline);
    ASSERT_FALSE(first.isEmpty());
    window->versionScroller()->setValue(2);
    EXPECT_EQ(program->state.version, 2);
    EXPECT_EQ(window->versionCounter()->text(), u"גירסה - 2");
    EXPECT_NE(program->state.liveTexts.value(kHeadline), first);
    EXPECT_TRUE(program->state.liveTexts.value(kHeadline).startsWith(u"שלושים"));
    // Another template opens at its first version, not at the previous number.
    choose("bar-mitzvah");
    EXPECT_EQ(program->state.version, 1);
    EXPECT_EQ(window->versionScroller()->value(), 1);
    EXPECT_EQ(window->versionScroller()->maximum(), 3);
    choose("wedding");
    EXPECT_EQ(window->versionScroller()->maximum(), 1);
}

TEST_F(WindowFixture, AStoppedPageSaysWhyInAnErrorBox)
{
    folder.write("templates/broken.ini",
                 test::ansi("[templateid]\nid=109\n[paper]\nsize=6000,6000\n"
                            "[object1]\nobjtype=fixpicture\npicdim=0,0,100,100\npicname=No such title\n"));
    start();
    choose("broken");
    EXPECT_EQ(window->lastOutcome().end, nuvela::PageEnd::Stopped);
    EXPECT_EQ(messages(), QStringList{"Error|The picture titled \"No such title\" is not in the image "
                                      "database nvdb.db (table fixpic)"});
}

TEST_F(WindowFixture, LogoTextAndHighlight)
{
    start();
    choose("birthday");
    auto* kotxt = window->findChild<QCheckBox*>("kotxt");
    ASSERT_TRUE(kotxt->isVisibleTo(window.get())); // the headline has a text row
    const int overlays = window->pageView()->textOverlayCount();
    kotxt->click();
    EXPECT_TRUE(program->state.headline.kotxtChecked);
    EXPECT_EQ(window->pageView()->textOverlayCount(), overlays + 1); // the logo text's own
    kotxt->click();
    EXPECT_EQ(window->pageView()->textOverlayCount(), overlays);

    auto* chedit = window->findChild<QCheckBox*>("chedit");
    chedit->click();
    EXPECT_TRUE(window->pageView()->textOverlay(program->state.katava.begin()->first)->autoFillBackground());
}

TEST_F(WindowFixture, WebPaneButtons)
{
    start();
    QList<QUrl> opened;
    bool browserStarts = true;
    window->web()->setExternalOpener([&](const QUrl& url) {
        opened << url;
        return browserStarts;
    });
    auto nav = [&](int i) { return static_cast<QWidget*>(nuvela::findArrayElement(window.get(), u"nav", i)); };
    // Back and forward only with somewhere to go.
    EXPECT_FALSE(nav(1)->isEnabled());
    EXPECT_FALSE(nav(2)->isEnabled());
    choose("birthday");
    QTest::mouseClick(nav(3), Qt::LeftButton);
    // Help is a page of our own, in the pane.
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_TRUE(window->web()->source().toString().endsWith(u"/help.html"));
    EXPECT_TRUE(window->web()->toPlainText().contains(u"גירסאות"));
    EXPECT_TRUE(nav(1)->isEnabled());
    EXPECT_FALSE(nav(2)->isEnabled());
    QTest::mouseClick(nav(1), Qt::LeftButton);
    EXPECT_TRUE(window->web()->source().toString().endsWith(u"/preload.html"));
    EXPECT_TRUE(nav(2)->isEnabled());
    // Every web action returns to web mode.
    EXPECT_EQ(window->gallery()->currentRow(), -1);
    EXPECT_FALSE(window->pageView()->isVisibleTo(window.get()));

    // Without the page the web site opens; a browser that cannot start is told.
    QFile::remove(folder.file("help.html"));
    browserStarts = false;
    QTest::mouseClick(nav(3), Qt::LeftButton);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened.first(), QUrl("https://www.nuvela.example/helpdesk.html"));
    ASSERT_FALSE(dialogs.requests().empty());
    EXPECT_EQ(dialogs.requests().back().kind, nuvela::ScriptedDialogs::Kind::Tell);
    EXPECT_TRUE(dialogs.requests().back().text.contains(u"https://www.nuvela.example/helpdesk.html"));
}

TEST_F(WindowFixture, ScalingToTheScreen)
{
    struct Case {
        QSize screen;
        double fx, fy;
    };
    for (const Case& c : {Case{{800, 600}, 1, 1}, Case{{1024, 768}, 1.28, 1.28}, Case{{1280, 1024}, 1.6, 1024.0 / 600}}) {
        start(c.screen);
        EXPECT_NEAR(window->width(), 790 * c.fx, 1) << c.screen.width();
        EXPECT_NEAR(window->height(), 570 * c.fy, 1) << c.screen.width();
        EXPECT_NEAR(window->titlePanel()->x(), 592 * c.fx, 1);
        EXPECT_NEAR(window->titlePanel()->height(), 300 * c.fy, 1);
        EXPECT_NEAR(window->gallery()->font().pointSizeF(), 9 * c.fy * 0.8, 0.01);
        // Panels change only by caption and placement: header and caption font stay.
        EXPECT_EQ(window->titlePanel()->headerHeight(), 24);
        EXPECT_EQ(window->titlePanel()->captionFont().pointSizeF(), 9);
    }
}

TEST_F(WindowFixture, ShutdownRemovesExactlyTheFontsItAdded)
{
    ASSERT_TRUE(QFile::copy("/usr/share/fonts/truetype/liberation2/LiberationSerif-Italic.ttf",
                            folder.file("extra.ttf")));
    start();
    window->output(); // loading the output window adds them
    const QList<int> ids = program->fonts.ids();
    ASSERT_EQ(ids.size(), 1);
    EXPECT_FALSE(QFontDatabase::applicationFontFamilies(ids.first()).isEmpty());
    const int other = QFontDatabase::addApplicationFont("/usr/share/fonts/truetype/liberation2/LiberationMono-Bold.ttf");
    ASSERT_GE(other, 0);
    ASSERT_FALSE(QFontDatabase::applicationFontFamilies(other).isEmpty());
    window->close(); // the shutdown routine
    QFontDatabase::families(); // the database fills its lists again after a removal
    EXPECT_TRUE(QFontDatabase::applicationFontFamilies(ids.first()).isEmpty());
    EXPECT_FALSE(QFontDatabase::applicationFontFamilies(other).isEmpty());
    EXPECT_EQ(quits, 1);
    program->shutdown(); // once only
    EXPECT_EQ(quits, 1);
    QFontDatabase::removeApplicationFont(other);
}

} // namespace
