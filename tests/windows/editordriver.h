#pragma once

#include "store/pagestate.h"
#include "windows/main/articlewindow.h"
#include "windows/textedit/txteditwindow.h"

#include <QApplication>
#include <QLineEdit>
#include <QTextEdit>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace test {

/// Types any text, Hebrew too, as key events carrying it (keyClicks knows only ASCII keys).
inline void type(QWidget* widget, const QString& text)
{
    for (const QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, widget, ch == u' ' ? Qt::Key_Space : Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

/// Once the text editor shows, types text (any script) into the box that has the
/// focus, its first, and confirms it with Ctrl+Enter, as a user would.
inline void typeWhenTheEditorShows(const QString& text)
{
    QTimer::singleShot(0, [text] {
        auto* editor = qobject_cast<nuvela::TxteditWindow*>(QApplication::activeModalWidget());
        ASSERT_TRUE(editor);
        QApplication::setActiveWindow(editor); // no window manager activates it
        QWidget* box = QApplication::focusWidget();
        EXPECT_EQ(box, editor->paragraphMode() ? static_cast<QWidget*>(editor->paragraphBox()) : editor->rowBox(0));
        if (box && box->window() == editor) {
            type(box, text);
            QTest::keyClick(box, Qt::Key_Return, Qt::ControlModifier);
        }
        if (editor->isVisible())
            editor->reject();
    });
}

/// The same on the editor of object n.
inline void typeInTextEditor(nuvela::ArticleWindow& window, int n, const QString& text)
{
    typeWhenTheEditorShows(text);
    window.editText(n);
}

/// The first text object of the page the user can edit (not the headline).
inline int firstTextObject(const nuvela::PageState& state)
{
    for (const auto& [n, box] : state.katava)
        if (n > 0 && QString::number(n) != state.headline.kotxtTag)
            return n;
    return -1;
}

} // namespace test
