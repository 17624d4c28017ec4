// Keys typed after a dialog closes reach the window it was opened from.

#include "windows/common/focusreturn.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

TEST(FocusReturn, KeysAfterAClosedDialogReachItsWindow)
{
    nuvela::returnFocusOnClose(*qApp);
    QWidget main;
    auto* edit = new QLineEdit(&main);
    main.show();
    main.activateWindow();
    edit->setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    for (const Qt::Key closeKey : {Qt::Key_Escape, Qt::Key_Return}) {
        QDialog dialog(&main);
        auto* field = new QLineEdit(&dialog);
        QTimer::singleShot(0, &dialog, [&] {
            (void)QTest::qWaitForWindowActive(&dialog);
            QTest::keyClick(QGuiApplication::focusWindow(), closeKey);
            if (dialog.isVisible())
                dialog.accept(); // Enter with no default button
        });
        field->setFocus();
        dialog.exec();
        QTest::qWait(50);
        ASSERT_TRUE(QGuiApplication::focusWindow()) << "the keyboard went nowhere";
        QTest::keyClick(QGuiApplication::focusWindow(), Qt::Key_A);
    }
    EXPECT_EQ(QApplication::activeWindow(), &main);
    EXPECT_EQ(edit->text(), QStringLiteral("aa"));
}

TEST(FocusReturn, KeysReachTheDialogThatBlocksTheActivatedWindow)
{
    nuvela::returnFocusOnClose(*qApp);
    QWidget main;
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    QDialog dialog(&main);
    bool closedByKey = false;
    QTimer::singleShot(0, &dialog, [&] {
        (void)QTest::qWaitForWindowActive(&dialog);
        main.activateWindow(); // as a late start-up activation of the main window does
        QTest::qWait(50);
        QTest::keyClick(QGuiApplication::focusWindow(), Qt::Key_Escape);
        closedByKey = !dialog.isVisible();
        dialog.reject();
    });
    dialog.exec();
    EXPECT_TRUE(closedByKey);
}
