// What a new user meets first: the start page, the version scroller, the
// window's size and the state after going home, driven through real events.
#include "windowfixture.h"

#include "windows/common/buttonplus.h"
#include "windows/common/controls.h"
#include "windows/common/webpane.h"
#include "windows/main/pageview.h"

#include <QCheckBox>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>

#include <ret/retainer.h>

using test::WindowFixture;

namespace {

TEST_F(WindowFixture, TheStartPageStaysUntilATemplateIsChosen)
{
    start();
    window->show();
    window->activateWindow();
    // A window manager gives the window, and so the gallery, the focus.
    for (Qt::FocusReason reason : {Qt::ActiveWindowFocusReason, Qt::TabFocusReason, Qt::OtherFocusReason}) {
        window->gallery()->clearFocus();
        window->gallery()->setFocus(reason);
        QApplication::processEvents();
        ASSERT_TRUE(window->gallery()->hasFocus()) << reason;
        EXPECT_TRUE(program->state.tavnit.isEmpty()) << reason;
        EXPECT_FALSE(window->pageView()->isVisibleTo(window.get())) << reason;
    }
    // Down chooses the first template, and then the next.
    QTest::keyClick(window->gallery(), Qt::Key_Down);
    EXPECT_EQ(program->state.tavnit, window->gallery()->item(0)->text());
    QTest::keyClick(window->gallery(), Qt::Key_Down);
    EXPECT_EQ(program->state.tavnit, window->gallery()->item(1)->text());
    EXPECT_TRUE(window->pageView()->isVisibleTo(window.get()));
}

TEST_F(WindowFixture, GoingHomeForgetsTheTemplate)
{
    start();
    const QString startCaption = window->titlePanel()->caption();
    auto* showme = window->findChild<nuvela::ButtonPlus*>("showme");
    choose("birthday");
    EXPECT_TRUE(showme->isEnabled());
    EXPECT_NE(window->titlePanel()->caption(), startCaption);
    QTest::mouseClick(static_cast<QWidget*>(nuvela::findArrayElement(window.get(), u"nav", 0)), Qt::LeftButton);
    EXPECT_EQ(window->titlePanel()->caption(), startCaption);
    EXPECT_FALSE(showme->isEnabled());
}

TEST_F(WindowFixture, TheVersionThumbShowsThePlaceAmongTheVersions)
{
    start();
    window->show();
    struct Case {
        const char* name;
        int versions;
    };
    for (const Case& c : {Case{"birthday", 2}, Case{"bar-mitzvah", 3}}) {
        choose(c.name);
        QScrollBar* bar = window->versionScroller();
        ASSERT_EQ(bar->maximum(), c.versions);
        QStyleOptionSlider option;
        option.initFrom(bar);
        option.orientation = Qt::Horizontal;
        option.minimum = bar->minimum();
        option.maximum = bar->maximum();
        option.pageStep = bar->pageStep();
        option.singleStep = bar->singleStep();
        option.sliderPosition = option.sliderValue = bar->value();
        const QRect groove = bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarGroove, bar);
        const QRect thumb = bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, bar);
        // Version 1: a thumb of one version's share, at the left.
        EXPECT_NEAR(thumb.width(), groove.width() / double(c.versions), 2) << c.name;
        EXPECT_EQ(thumb.left(), groove.left()) << c.name;
    }
}

TEST_F(WindowFixture, ResizingNeverCutsOffTheRightColumn)
{
    for (QSize screen : {QSize(800, 600), QSize(1024, 768), QSize(1280, 1024)}) {
        start(screen);
        window->show();
        const QSize scaled = window->size();
        for (QSize asked : {QSize(900, 650), QSize(500, 400), QSize(1600, 1200)}) {
            window->resize(asked);
            QApplication::processEvents();
            EXPECT_EQ(window->size(), scaled) << screen.width() << " " << asked.width();
            for (QWidget* w : {static_cast<QWidget*>(window->titlePanel()), static_cast<QWidget*>(window->gallery())})
                EXPECT_TRUE(window->rect().contains(QRect(w->mapTo(window.get(), QPoint(0, 0)), w->size())));
        }
    }
}

// Every sample with a headline row stores a text for it in each version, so
// "Logo text" never blanks the headline.
TEST_F(WindowFixture, LogoTextShowsAStoredHeadlineInEverySample)
{
    start();
    window->show();
    auto* kotxt = window->findChild<QCheckBox*>("kotxt");
    int checked = 0;
    for (int row = 0; row < window->gallery()->count(); ++row) {
        choose(window->gallery()->item(row)->text());
        if (!kotxt->isVisible())
            continue; // no headline row: the switch is hidden
        for (int version = 1; version <= window->versionScroller()->maximum(); ++version) {
            window->versionScroller()->setValue(version);
            kotxt->setFocus();
            QTest::keyClick(kotxt, Qt::Key_Space);
            ASSERT_TRUE(kotxt->isChecked());
            const int n = program->state.headline.kotxtTag.toInt();
            EXPECT_FALSE(program->state.liveTexts.value(n).trimmed().isEmpty())
                << program->state.tavnit.toStdString() << " version " << version;
            QTest::keyClick(kotxt, Qt::Key_Space);
            ++checked;
        }
    }
    EXPECT_GE(checked, 8);
}

} // namespace
