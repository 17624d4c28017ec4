#pragma once

#include "support/testdirs.h"
#include "windows/common/dialogs.h"
#include "windows/common/program.h"
#include "windows/main/articlewindow.h"

#include <QApplication>
#include <QListWidget>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <memory>

namespace test {

/// Where a part of a scroll bar (an arrow, the thumb, the groove) is drawn.
inline QRect scrollBarPart(QScrollBar* bar, QStyle::SubControl part)
{
    QStyleOptionSlider o;
    o.initFrom(bar);
    o.orientation = bar->orientation();
    o.minimum = bar->minimum();
    o.maximum = bar->maximum();
    o.sliderPosition = o.sliderValue = bar->value();
    o.singleStep = bar->singleStep();
    o.pageStep = bar->pageStep();
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &o, part, bar);
}

/// A turn of the mouse wheel over the middle of target.
inline void turnWheel(QWidget* target, QPoint delta, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    const QPointF at(target->width() / 2.0, target->height() / 2.0);
    QWheelEvent e(at, target->mapToGlobal(at), {}, delta, Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &e);
}

/// The program on a copy of the shipped program folder, with dialogs the
/// test answers, scaled for an 800 × 600 screen unless a test says otherwise.
class WindowFixture : public testing::Test {
protected:
    void start(QSize screen = QSize(800, 600))
    {
        window.reset(); // a window never outlives its program
        program = std::make_unique<nuvela::Program>(folder.path(), dialogs, QStringLiteral("Nuvela"));
        program->quit = [this] { ++quits; };
        window = std::make_unique<nuvela::ArticleWindow>(*program, screen);
    }
    /// Starts with a text store that holds only the interface language.
    void startIn(const QString& language, QSize screen = QSize(800, 600))
    {
        folder.write("templates/textdata.txt", ansi(QStringLiteral("[interface]\nlang=%1\n").arg(language)));
        start(screen);
    }
    void choose(const QString& name)
    {
        const auto items = window->gallery()->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << name.toStdString();
        window->gallery()->setCurrentItem(items.first());
    }
    /// The messages (or the questions) shown so far, as "title|text".
    QStringList messages(nuvela::ScriptedDialogs::Kind kind = nuvela::ScriptedDialogs::Kind::Tell) const
    {
        QStringList shown;
        for (const auto& r : dialogs.requests())
            if (r.kind == kind)
                shown << r.title + u'|' + r.text;
        return shown;
    }
    QStringList questions() const { return messages(nuvela::ScriptedDialogs::Kind::Ask); }
    /// A key on target in its active window; no window manager gives focus under Xvfb.
    void press(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        target->window()->show();
        target->window()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(target->window()));
        target->setFocus();
        QTest::keyClick(target, Qt::Key(key), modifiers);
    }

    void TearDown() override { window.reset(); }

    ProgramFolder folder;
    nuvela::ScriptedDialogs dialogs;
    std::unique_ptr<nuvela::Program> program;
    std::unique_ptr<nuvela::ArticleWindow> window;
    int quits = 0;
};

} // namespace test
