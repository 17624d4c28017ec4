#include "windows/common/dialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace nuvela;

namespace {

// The built-in Hebrew questions were written for boxes laid out from the
// left; from the right their mark must end the sentence.
TEST(Questions, MarksEndTheSentenceInTheBoxDirection)
{
    const QString save = QStringLiteral("האם לשמור את השינויים");
    const QString remove = QStringLiteral("האם למחוק את הגירסה הנכחית");
    struct Case { QString text; Qt::LayoutDirection direction; QString shown; };
    const Case cases[] = {
        { "?  " + save, Qt::RightToLeft, save + "?" },
        { " " + remove + " ?", Qt::RightToLeft, remove + "?" },
        { save + "?", Qt::RightToLeft, save + "?" },
        { "?  " + save, Qt::LeftToRight, "?  " + save }, // drawn from the left it already reads right
        { "Save the changes?", Qt::RightToLeft, "Save the changes?" },
        { "?", Qt::RightToLeft, "?" },
        { "שגיאה:\n/tmp/x .", Qt::RightToLeft, "שגיאה:\n/tmp/x." },
    };
    for (const Case& c : cases)
        EXPECT_EQ(inReadingOrder(c.text, c.direction), c.shown) << c.text.toStdString();
}

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
