#include "windows/common/dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QScreen>
#include <QTreeView>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace nuvela;

namespace {

const QString kSaveFilter = QStringLiteral(
    "JPEG File Interchange Format (*.jpg;*.jpeg)|*.jpg;*.jpeg|Bitmap Image (*.bmp)|*.bmp");

TEST(FileFilters, OldFormBecomesQtFilters)
{
    struct Case { QString oldForm; QStringList qt; QStringList extensions; };
    const Case cases[] = {
        { kSaveFilter, { "JPEG File Interchange Format (*.jpg *.jpeg)", "Bitmap Image (*.bmp)" }, { "jpg", "bmp" } },
        { "All supported Images|*.gif;*.jpg;*.jpeg;*.bmp", { "All supported Images (*.gif *.jpg *.jpeg *.bmp)" }, { "gif" } },
        { "Everything|*.*", { "Everything (*.*)" }, { "" } },
        { "Pictures|*.png|Dangling description", { "Pictures (*.png)" }, { "png" } },
        { "|*.txt", { "*.txt (*.txt)" }, { "txt" } },
        { "No patterns|", {}, {} },
        { "", {}, {} },
    };
    for (const Case& c : cases) {
        const auto filters = parseFileFilter(c.oldForm);
        EXPECT_EQ(qtFileFilters(filters), c.qt) << c.oldForm.toStdString();
        QStringList extensions;
        for (const FileFilter& filter : filters)
            extensions.append(filter.extension());
        EXPECT_EQ(extensions, c.extensions) << c.oldForm.toStdString();
    }
}

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

// The file dialogs open large enough to show a file's size and date whole,
// and give back the file chosen and its format.
TEST(FileDialogs, OpenWideAndReturnTheChoice)
{
    const QFont font = QApplication::font();
    QFont large = font;
    large.setPixelSize(20); // the program's interface font is larger than Qt's default
    QApplication::setFont(large);
    QWidget window;
    window.show();
    const QString dir = QDir::tempPath();
    int narrowest = 0;
    QTimer::singleShot(0, &window, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        auto* view = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
        ASSERT_TRUE(view);
        narrowest = std::min(view->header()->sectionSize(1) - QFontMetrics(view->font()).horizontalAdvance("1023.9 KiB"),
                             dialog->width() + 1 - std::min(860, dialog->screen()->availableSize().width() * 9 / 10));
        dialog->selectFile(dir + QStringLiteral("/card"));
        dialog->selectNameFilter(QStringLiteral("Bitmap Image (*.bmp)"));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    QtDialogs dialogs;
    const auto chosen = dialogs.saveFile(&window, QStringLiteral("Save"), kSaveFilter, dir + QStringLiteral("/page.jpg"));
    ASSERT_TRUE(chosen);
    EXPECT_GT(narrowest, 0);
    EXPECT_EQ(chosen->path, dir + QStringLiteral("/card"));
    EXPECT_EQ(chosen->extension, u"bmp");
    QApplication::setFont(font);
}

// Esc and the close button answer an ordinary question No; where No throws
// work away they do nothing, and only Yes or No answers. Enter answers Yes,
// but No where Yes deletes.
TEST(Questions, EscAnswersNoOnlyWhereNothingIsLost)
{
    struct Case { Ask kind; bool lastNo; bool answer; Qt::Key first = Qt::Key_Escape; };
    const Case cases[] = {
        { Ask::Question, false, false },      // Esc: No
        { Ask::Question, false, true, Qt::Key_Return },
        { Ask::Warning, false, false, Qt::Key_Return },
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
            QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, c.first);
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
