#include "support/pixels.h"

#include "windows/common/buttoncaptions.h"
#include "windows/common/dialogs.h"
#include "windows/common/uitext.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTreeView>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTextLayout>
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

// A path inside a Hebrew message reads whole, left to right, wherever it
// stands: its slash stays at its start, and a line it opens still reads
// from the right (as a box lays out each line, taking its direction from
// the first letter).
TEST(Questions, PathsReadWholeInHebrewMessages)
{
    const QString path = leftToRight(QStringLiteral("/tmp/ux/prog/templates/textdata.txt"));
    struct Case { QString message; QString after; }; // a word after the path
    const Case cases[] = {
        { QStringLiteral("הקובץ %1 שמור בקידוד UTF-8, ולכן העברית שבו מוצגת משובשת. שמרו אותו בקידוד "
                         "Windows-1255 (ANSI) ובחרו שוב את התבנית.").arg(path), "שמור" },
        { QStringLiteral("הקובץ %1 לא נמצא.").arg(path), "נמצא" },
        { QStringLiteral("%1 לא נמצא.").arg(path), "נמצא" },
        { QStringLiteral("לא ניתן לשמור:\n%1 מוגן מפני כתיבה").arg(path), "מוגן" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        const QString shown = inReadingOrder(c.message, Qt::RightToLeft).split(u'\n').last();
        QTextLayout layout(shown, QApplication::font());
        QTextOption option;
        option.setTextDirection(Qt::LayoutDirectionAuto);
        layout.setTextOption(option);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        line.setLineWidth(5000);
        layout.endLayout();
        const qsizetype slash = shown.indexOf(u'/');
        const qsizetype word = shown.indexOf(c.after);
        // Left to right inside the path, and the Hebrew after it to its left.
        EXPECT_LT(line.cursorToX(int(slash)), line.cursorToX(int(slash) + 1));
        EXPECT_GT(line.cursorToX(int(slash)), line.cursorToX(int(word)));
    }
}

// A user's text quoted in a sentence of the other direction keeps its end
// sign at its end, and the closing quote outside it.
TEST(Questions, QuotedTextsKeepTheirEndSigns)
{
    const struct {
        QString sentence, text;
        Qt::LayoutDirection direction;
    } cases[] = {
        {QStringLiteral("בטל: הטקסט \"%1\""), QStringLiteral("Noa Is Seven!"), Qt::RightToLeft},
        {QStringLiteral("Undo: the text \"%1\""), QStringLiteral("מזל טוב!"), Qt::LeftToRight},
    };
    for (const auto& c : cases) {
        const QString shown = c.sentence.arg(inOwnDirection(c.text));
        SCOPED_TRACE(shown.toStdString());
        QTextLayout layout(shown, QApplication::font());
        QTextOption option;
        option.setTextDirection(c.direction);
        layout.setTextOption(option);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        line.setLineWidth(5000);
        layout.endLayout();
        const auto x = [&](qsizetype i) { return line.cursorToX(int(i)); };
        const qsizetype first = shown.indexOf(c.text), bang = shown.indexOf(u'!'), quote = shown.lastIndexOf(u'"');
        // The sign ends the text in the text's own direction, the quote beyond it.
        const bool rtlText = c.text.isRightToLeft();
        EXPECT_EQ(x(bang) < x(first), rtlText);
        EXPECT_EQ(x(quote) < x(bang), c.direction == Qt::RightToLeft);
    }
}

// The save dialog opens where the user saved last, at first among his
// pictures, never in the working folder, which is the program's own; a
// name typed with a quote in it is taken whole.
TEST(FileDialogs, SaveOpensWhereTheUserSavedLast)
{
    QWidget window;
    window.show();
    QTemporaryDir work, chosen;
    const QString before = QDir::currentPath();
    QDir::setCurrent(work.path());
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    const QString first = QFileInfo(pictures).isDir() ? pictures : QDir::homePath();
    QtDialogs dialogs;
    struct Step { QString opensIn, typed, chosen; };
    const Step steps[] = {
        {first, chosen.filePath("card"), chosen.filePath("card")},
        {chosen.path(), "a\"b.jpg", chosen.filePath("a\"b.jpg")},
        {chosen.path(), "\"quoted.jpg\"", chosen.filePath("quoted.jpg")},
    };
    for (const Step& step : steps) {
        QString opened;
        QTimer::singleShot(0, &window, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_TRUE(dialog);
            opened = dialog->directory().absolutePath();
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_TRUE(name);
            name->setText(step.typed);
            QMetaObject::invokeMethod(dialog, "accept");
        });
        const auto choice = dialogs.saveFile(&window, QStringLiteral("Save"), u"JPEG (*.jpg)|*.jpg");
        ASSERT_TRUE(choice) << step.typed.toStdString();
        EXPECT_EQ(QDir(opened).canonicalPath(), QDir(step.opensIn).canonicalPath());
        EXPECT_EQ(choice->path.toStdString(), step.chosen.toStdString());
    }
    QDir::setCurrent(before);
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
    const QString filter = QStringLiteral("JPEG File Interchange Format (*.jpg;*.jpeg)|*.jpg;*.jpeg|Bitmap Image (*.bmp)|*.bmp");
    const auto chosen = dialogs.saveFile(&window, QStringLiteral("Save"), filter, dir + QStringLiteral("/page.jpg"));
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

// A box's Yes, No and OK carry a picture: their caption stands beside it, on
// its left in a program that reads from the right, on its right in one that
// reads from the left; not at the button's far edge.
TEST(Questions, ButtonCaptionsStandBesideTheirPicture)
{
    keepCaptionsBesidePictures(*qobject_cast<QApplication*>(QCoreApplication::instance()));
    QPixmap picture(16, 16);
    picture.fill(Qt::blue);
    struct Case { QString caption; Qt::LayoutDirection direction; };
    const Case cases[] = {
        { QStringLiteral("כן"), Qt::RightToLeft },
        { QStringLiteral("&ביטול"), Qt::RightToLeft },
        { QStringLiteral("OK"), Qt::RightToLeft },
        { QStringLiteral("Yes"), Qt::LeftToRight },
    };
    for (const Case& c : cases) {
        QGuiApplication::setLayoutDirection(c.direction);
        QPushButton button(QIcon(picture), c.caption);
        button.resize(200, 30);
        const QImage shot = button.grab().toImage();
        const QRect inside = shot.rect().adjusted(4, 4, -4, -4); // the border left out
        const QRect icon = test::inkBox(shot, [](QColor p) { return p.blue() > 200 && p.red() < 60; }, inside);
        const QRect text = test::inkBox(shot, [](QColor p) { return p.lightness() < 100 && p.blue() < 150; }, inside);
        ASSERT_FALSE(icon.isEmpty() || text.isEmpty()) << c.caption.toStdString();
        const int gap = c.direction == Qt::RightToLeft ? icon.left() - text.right() : text.left() - icon.right();
        EXPECT_TRUE(gap > 0 && gap < 12) << c.caption.toStdString() << " text " << text.left() << ".." << text.right()
                                         << ", picture " << icon.left() << ".." << icon.right();
    }
    QGuiApplication::setLayoutDirection(Qt::LeftToRight);
}

} // namespace

// A message of any length (a language file's, a path's) fits on the screen
// with its buttons, one word or many lines; what is cut ends in "…".
TEST(Questions, OverlongMessagesFitTheScreen)
{
    const QString word(20000, u'ש');
    const QString lines = QStringLiteral("line\n").repeated(400);
    const QString words = QStringLiteral("מילה ").repeated(4000);
    QWidget window;
    window.show();
    for (const QString& text : {word, lines, words}) {
        for (const bool asking : {false, true}) {
            QRect box, screen;
            QString shown;
            QTimer::singleShot(0, &window, [&] {
                auto* b = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                ASSERT_TRUE(b);
                box = b->geometry();
                screen = b->screen()->availableGeometry();
                shown = b->text();
                b->button(asking ? QMessageBox::No : QMessageBox::Ok)->click();
            });
            QtDialogs dialogs;
            if (asking)
                dialogs.ask(&window, QStringLiteral("?"), text, Ask::Question);
            else
                dialogs.tell(&window, QStringLiteral("!"), text, false);
            EXPECT_LE(box.height(), screen.height()) << text.size() << asking;
            EXPECT_LE(box.width(), screen.width()) << text.size() << asking;
            EXPECT_TRUE(shown.trimmed().endsWith(u'…')) << text.size() << asking;
        }
    }
}
