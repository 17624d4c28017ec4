#include "windows/common/dialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace nuvela;

namespace {

// Esc and the close button answer an ordinary question No; where No throws
// work away they do nothing, and only Yes or No answers.
TEST(Questions, EscAnswersNoOnlyWhereNothingIsLost)
{
    struct Case { Ask kind; bool lastNo; bool answer; };
    const Case cases[] = {
        { Ask::Question, false, false },      // Esc: No
        { Ask::NoDiscardsWork, false, true }, // Esc and close ignored; Enter: Yes
        { Ask::NoDiscardsWork, true, false }, // Esc and close ignored; No clicked
    };
    QWidget window;
    window.show();
    for (const Case& c : cases) {
        bool stayed = false;
        QTimer::singleShot(0, &window, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_TRUE(box);
            (void)QTest::qWaitForWindowActive(box);
            QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, Qt::Key_Escape);
            if (!box->isVisible())
                return;
            box->close();
            stayed = box->isVisible();
            if (c.lastNo)
                box->button(QMessageBox::No)->click();
            else
                QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, Qt::Key_Return);
        });
        QtDialogs dialogs;
        EXPECT_EQ(dialogs.ask(&window, QStringLiteral("?"), QStringLiteral("Save?"), c.kind), c.answer);
        EXPECT_EQ(stayed, c.kind == Ask::NoDiscardsWork);
    }
}

} // namespace
