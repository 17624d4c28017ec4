#pragma once

#include "store/pagestate.h"
#include "windows/main/articlewindow.h"
#include "windows/textedit/txteditwindow.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

namespace test {

/// Types any text, Hebrew too, as key events carrying it (keyClicks knows only ASCII keys).
inline void type(QWidget* widget, const QString& text)
{
    for (const QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, widget, ch == u' ' ? Qt::Key_Space : Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

/// Opens the text editor of object n, types text (any script) into the box that has the
/// focus and confirms it with Ctrl+Enter, as a user would.
inline void typeInTextEditor(nuvela::ArticleWindow& window, int n, const QString& text)
{
    QTimer::singleShot(0, [text] {
        auto* editor = qobject_cast<nuvela::TxteditWindow*>(QApplication::activeModalWidget());
        if (!editor)
            return;
        QApplication::setActiveWindow(editor);
        QWidget* box = QApplication::focusWidget();
        if (box && box->window() == editor) {
            type(box, text);
            QTest::keyClick(box, Qt::Key_Return, Qt::ControlModifier);
        }
        if (editor->isVisible())
            editor->reject();
    });
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
