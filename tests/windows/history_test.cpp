#include "editordriver.h"
#include "windowfixture.h"

#include "windows/common/buttonplus.h"
#include "windows/common/controls.h"
#include "windows/main/pagehistory.h"
#include "windows/main/pageview.h"
#include "windows/textedit/txteditwindow.h"

#include <QAbstractButton>
#include <QFileInfo>
#include <QMenu>
#include <QTest>

#include <functional>
#include <vector>

using nuvela::ButtonBorder;
using nuvela::StepKind;

namespace {

/// Everything a step may touch, compared whole after every undo and redo.
struct Page {
    QList<QString> texts, formats;
    std::map<int, QString> tags;
    std::uint32_t colour = 0;
    QString modified;
    bool operator==(const Page&) const = default;
};

class History : public test::WindowFixture {
protected:
    Page page() const
    {
        const auto& s = program->state;
        Page p{s.liveTexts, s.liveFormats, {}, s.headline.collColour, s.modified};
        for (const auto& [n, g] : s.gpic)
            p.tags[n] = g.tag;
        return p;
    }
    void key(int k, Qt::KeyboardModifiers m) { press(window.get(), k, m); }
    void undo() { key(Qt::Key_Z, Qt::ControlModifier); }
    /// Typed into the text editor of object n and confirmed with Ctrl+Enter.
    void type(int n, const QString& text) { test::typeInTextEditor(*window, n, text); }
    int firstText() const { return test::firstTextObject(program->state); }
};

TEST_F(History, MixedStepsUndoAndRedoExactly)
{
    start();
    choose("birthday-daily"); // a headline colour and picture frame 6
    const int t = firstText();
    ASSERT_GT(t, 0);
    const QImage first = program->canvas.image();
    std::vector<Page> pages{page()};
    type(t, QStringLiteral("Hello"));
    pages.push_back(page());
    QTest::mouseClick(window->pageView()->pictureOverlay(6), Qt::RightButton);
    pages.push_back(page());
    dialogs.answerColour(0x348812);
    window->chooseHeadlineColour();
    pages.push_back(page());
    type(t, QStringLiteral("Again"));
    pages.push_back(page());
    for (size_t i = 1; i < pages.size(); ++i)
        ASSERT_NE(pages[i], pages[i - 1]) << "step " << i << " changed nothing";

    QMenu menu;
    window->fillHistoryMenu(menu);
    // Named by its words, not by the object's number.
    const QString entry = menu.actions().value(0)->text();
    EXPECT_TRUE(entry.startsWith(u"בטל: הטקסט \"") && entry.contains(u"Again")) << entry.toStdString();
    EXPECT_FALSE(menu.actions().value(1)->isEnabled());

    for (int i = int(pages.size()) - 2; i >= 0; --i) {
        undo();
        EXPECT_EQ(page(), pages[i]) << "after undo to " << i;
        if (i == 2) { // next: the removal, named by the picture's file
            const QString removal = window->stepName(true);
            const QString file = QFileInfo(pages[1].tags.at(6)).completeBaseName();
            EXPECT_TRUE(removal.startsWith(u"בטל: הסרת התמונה \"") && removal.contains(file)) << removal.toStdString();
        }
    }
    EXPECT_EQ(window->updateButton()->borderStyle(), ButtonBorder::Normal);
    EXPECT_EQ(program->canvas.image(), first); // the page drawn again as it was
    undo(); // nothing left: nothing changes
    EXPECT_EQ(page(), pages[0]);

    // Both redo keys, alternately, walk forward again.
    for (size_t i = 1; i < pages.size(); ++i) {
        if (i % 2)
            key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        else
            key(Qt::Key_Y, Qt::ControlModifier);
        EXPECT_EQ(page(), pages[i]) << "after redo to " << i;
    }
    EXPECT_EQ(window->updateButton()->borderStyle(), ButtonBorder::Emphasised);
}

TEST_F(History, SavedStateCapAndAnotherTemplate)
{
    start();
    choose("bar-mitzvah");
    const int t = firstText();
    const Page loaded = page();
    type(t, QStringLiteral("One"));
    key(Qt::Key_S, Qt::ControlModifier); // update the version
    const Page saved = page();
    ASSERT_FALSE(program->state.isModified());
    type(t, QStringLiteral("Two"));
    undo();
    EXPECT_EQ(page(), saved); // back to what is stored: nothing unsaved
    EXPECT_FALSE(window->updateButton()->isEnabled());
    undo();
    EXPECT_EQ(page().texts, loaded.texts);
    EXPECT_EQ(program->state.modified, u"1"); // before the save: unsaved again
    EXPECT_TRUE(window->updateButton()->isEnabled());
    key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(page(), saved);

    // Older steps fall off beyond the cap.
    auto& h = window->history();
    for (int i = 0; i < nuvela::PageHistory::kLimit + 5; ++i) {
        const auto before = nuvela::readStep(program->state, StepKind::HeadlineColour, 0);
        program->state.headline.collColour = std::uint32_t(i);
        h.record(StepKind::HeadlineColour, 0, before);
    }
    EXPECT_EQ(h.count(), nuvela::PageHistory::kLimit);

    // Another template begins a history of its own.
    dialogs.answerAsk(false);
    choose("wedding");
    EXPECT_EQ(h.count(), 0);
    const Page wedding = page();
    undo();
    EXPECT_EQ(page(), wedding);
    EXPECT_EQ(window->stepName(true), QString());

    // Behind the web pane the hidden page is left alone.
    type(firstText(), QStringLiteral("Gone"));
    dialogs.answerAsk(false);
    static_cast<QAbstractButton*>(nuvela::findArrayElement(window.get(), QStringLiteral("nav"), 0))->click();
    const Page discarded = page();
    undo();
    EXPECT_EQ(page(), discarded);
}

// Emptying an empty frame or choosing the headline's own colour changes
// nothing: no step to undo, and nothing for Save or its question.
TEST_F(History, WhatChangesNothingIsNoStep)
{
    start();
    choose("birthday-daily");
    QTest::mouseClick(window->pageView()->pictureOverlay(6), Qt::RightButton);
    key(Qt::Key_S, Qt::ControlModifier); // the empty frame is stored
    ASSERT_EQ(program->state.gpic[6].tag, u"nopic");
    const Page saved = page();
    const int steps = window->history().count();
    for (const auto& repeat : std::vector<std::function<void()>>{
             [&] { QTest::mouseClick(window->pageView()->pictureOverlay(6), Qt::RightButton); },
             [&] {
                 dialogs.answerColour(program->state.headline.collColour);
                 window->chooseHeadlineColour();
             }}) {
        repeat();
        EXPECT_EQ(page(), saved);
        EXPECT_EQ(window->history().count(), steps);
        EXPECT_EQ(window->updateButton()->borderStyle(), ButtonBorder::Normal);
    }
}

// The menu names a step by the user's own words and files, whole: an "&"
// is no mnemonic, and only a framed copy loses the counter it was given.
TEST_F(History, MenuEntriesShowTheUsersNamesWhole)
{
    start();
    choose("birthday-daily");
    const int t = firstText();
    struct Case { StepKind kind; int n; const char16_t* value; const char16_t* shown; };
    for (const Case& c : {Case{StepKind::Text, t, u"Tom & Jerry~Row", u"\"\u200ETom & Jerry\u200E\""},
                          Case{StepKind::Picture, 6, u"/photos/IMG_2024.jpg", u"\"\u200EIMG_2024\u200E\""},
                          Case{StepKind::Picture, 6, u"/photos/Me&You.jpg", u"\"\u200EMe&You\u200E\""},
                          Case{StepKind::Picture, 6, u"beach_2.jpg", u"\"\u200Ebeach\u200E\""}}) {
        nuvela::StepValue value = nuvela::readStep(program->state, c.kind, c.n);
        const nuvela::StepValue before = value;
        (c.kind == StepKind::Text ? value.text : value.tag) = QString::fromUtf16(c.value);
        nuvela::writeStep(program->state, c.kind, c.n, value);
        window->history().record(c.kind, c.n, before);
        QMenu menu;
        window->fillHistoryMenu(menu);
        const QString entry = menu.actions().value(0)->text();
        EXPECT_TRUE(QKeySequence::mnemonic(entry).isEmpty()) << entry.toStdString();
        EXPECT_TRUE(QString(entry).replace(QStringLiteral("&&"), QStringLiteral("&")).endsWith(QStringView(c.shown))) << entry.toStdString();
    }
}

// The logo-text switch saves or discards first and rebuilds the frames; the
// steps before it still undo and redo onto the rebuilt page.
TEST_F(History, UndoAcrossTheLogoTextSwitch)
{
    start();
    choose("birthday-daily");
    const int t = firstText();
    const Page loaded = page();
    type(t, QStringLiteral("Before"));
    QTest::mouseClick(window->pageView()->pictureOverlay(6), Qt::RightButton);
    dialogs.answerAsk(true); // save the changes first
    auto* logoText = window->findChild<QAbstractButton*>(QStringLiteral("kotxt"));
    ASSERT_TRUE(logoText);
    logoText->click();
    ASSERT_TRUE(program->state.headline.kotxtChecked);
    ASSERT_FALSE(program->state.isModified());
    const Page switched = page();
    const QImage switchedImage = program->canvas.image();
    EXPECT_EQ(switched.tags.at(6), u"nopic");

    undo();
    EXPECT_EQ(page().tags.at(6), loaded.tags.at(6));
    EXPECT_EQ(program->state.modified, u"1");
    undo();
    EXPECT_EQ(page().texts.value(t), loaded.texts.value(t));
    EXPECT_EQ(page().formats.value(t), loaded.formats.value(t));
    EXPECT_TRUE(program->state.headline.kotxtChecked); // the switch is no step
    EXPECT_NE(program->canvas.image(), switchedImage);
    key(Qt::Key_Y, Qt::ControlModifier);
    key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(page(), switched); // back at what was saved: nothing unsaved
    EXPECT_EQ(program->canvas.image(), switchedImage);
}

} // namespace
