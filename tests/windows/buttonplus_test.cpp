#include "support/pixels.h"
#include "windows/common/buttonplus.h"
#include "windows/common/focusring.h"

#include <QApplication>
#include <QTest>
#include <QKeyEvent>
#include <QListWidget>
#include <QScreen>
#include <QScrollBar>
#include <QPixmap>

#include <gtest/gtest.h>

using namespace nuvela;

namespace {

const QColor kPictureColour(255, 0, 0);
const QColor kCaptionColour(0, 0, 255);

QIcon redSquare()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(kPictureColour);
    return QIcon(pixmap);
}

// A button on a plain window, with a pure red picture and a pure blue
// caption that the pixel checks can find.
struct Fixture {
    QWidget window;
    ButtonPlus* button = new ButtonPlus(QStringLiteral("Save picture"), &window);

    Fixture()
    {
        window.resize(260, 80);
        button->setGeometry(10, 10, 220, 40);
        button->setPicture(redSquare());
        QPalette palette = button->palette();
        palette.setColor(QPalette::Active, QPalette::ButtonText, kCaptionColour);
        palette.setColor(QPalette::Inactive, QPalette::ButtonText, kCaptionColour);
        palette.setColor(QPalette::Button, QColor(0xE8, 0xE8, 0xE8));
        button->setPalette(palette);
    }
    QImage image() { return button->grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

using test::inkBox;

bool isPicture(QColor c) { return c.red() > 200 && c.green() < 60 && c.blue() < 60; }
bool isCaption(QColor c) { return c.blue() > 120 && c.red() < 100 && c.green() < 100; }

struct AlignmentCase {
    PictureAlignment alignment;
    const char* name;
    std::function<void(QRect picture, QRect caption, QRect button)> check;
};

const AlignmentCase kAlignments[] = {
    { PictureAlignment::LeftOfCaption, "LeftOfCaption", [](QRect p, QRect c, QRect b) {
          EXPECT_LT(p.right(), c.left());
          EXPECT_NEAR((p.left() + c.right()) / 2.0, b.center().x(), 3) << "pair centred";
      } },
    { PictureAlignment::RightOfCaption, "RightOfCaption", [](QRect p, QRect c, QRect b) {
          EXPECT_GT(p.left(), c.right());
          EXPECT_NEAR((c.left() + p.right()) / 2.0, b.center().x(), 3);
      } },
    { PictureAlignment::AboveCaption, "AboveCaption", [](QRect p, QRect c, QRect) { EXPECT_LT(p.bottom(), c.top()); } },
    { PictureAlignment::BelowCaption, "BelowCaption", [](QRect p, QRect c, QRect) { EXPECT_GT(p.top(), c.bottom()); } },
    { PictureAlignment::LeftEdge, "LeftEdge", [](QRect p, QRect c, QRect) {
          EXPECT_LE(p.left(), 12);
          EXPECT_LT(p.right(), c.left());
          EXPECT_LT(c.left() - p.right(), 12) << "caption follows the picture";
      } },
    { PictureAlignment::RightEdge, "RightEdge", [](QRect p, QRect c, QRect b) {
          EXPECT_GE(p.right(), b.width() - 13);
          EXPECT_LT(p.left() - c.right(), 12) << "caption precedes the picture";
      } },
};

// The absolute positions hold in a right-to-left button too.
TEST(ButtonPlus, PictureAlignmentsPlaceThePictureAroundTheCaption)
{
    for (const AlignmentCase& c : kAlignments) {
        SCOPED_TRACE(c.name);
        Fixture f;
        f.button->setPictureAlignment(c.alignment);
        if (c.alignment == PictureAlignment::AboveCaption || c.alignment == PictureAlignment::BelowCaption)
            f.button->resize(220, 64);
        f.button->setLayoutDirection(Qt::RightToLeft);
        const QImage image = f.image();
        const QRect picture = inkBox(image, isPicture), caption = inkBox(image, isCaption);
        ASSERT_EQ(picture.size(), QSize(16, 16));
        ASSERT_FALSE(caption.isEmpty());
        c.check(picture, caption, f.button->rect());
    }
}

// "Show picture" over its picture on a narrow button: wrapped only by the
// side padding, the caption took two lines and pushed the picture out, so
// the button alone had no picture beside its neighbours.
TEST(ButtonPlus, ANarrowCaptionUsesThePaddingRatherThanLoseItsPicture)
{
    Fixture f;
    f.button->setCaption(QStringLiteral("Show picture"));
    f.button->setPictureAlignment(PictureAlignment::AboveCaption);
    const QFontMetrics metrics = f.button->fontMetrics();
    const int line = metrics.height();
    f.button->resize(metrics.horizontalAdvance(f.button->caption()) + 8, 2 * 5 + 2 * line + 6 + 9);
    const QImage image = f.image();
    EXPECT_EQ(inkBox(image, isPicture).size(), QSize(16, 16));
    EXPECT_LT(inkBox(image, isCaption).height(), line) << "one line";
}

// A translator's caption far longer than its button (500 characters) shows
// whole lines from its start and an ellipsis, with or without its picture;
// drawn as it was, its first and last lines were cut in half by the edges.
TEST(ButtonPlus, ALongCaptionShowsWholeLines)
{
    const QString caption = QStringLiteral("Press this &button to update the settings and close the window; ").repeated(8).left(500);
    for (const PictureAlignment alignment : {PictureAlignment::RightEdge, PictureAlignment::AboveCaption}) {
        for (const int height : {32, 40, 64}) {
            SCOPED_TRACE(QStringLiteral("alignment %1, height %2").arg(int(alignment)).arg(height).toStdString());
            Fixture f;
            f.button->setCaption(caption);
            f.button->setPictureAlignment(alignment);
            f.button->resize(100, height);
            const QRect room = f.button->captionRect();
            const QFontMetrics metrics = f.button->fontMetrics();
            const QString shown = readableCaption(metrics, caption, room);
            EXPECT_LE(metrics.boundingRect(room, Qt::TextWordWrap | Qt::TextShowMnemonic, shown).height(), room.height());
            ASSERT_TRUE(shown.endsWith(u'…'));
            EXPECT_TRUE(caption.startsWith(shown.chopped(1).replace(u'\n', u' ').trimmed())) << shown.toStdString();
            EXPECT_FALSE(inkBox(f.image(), isCaption).isEmpty());
        }
    }
    EXPECT_EQ(readableCaption(QFontMetrics(QFont()), QStringLiteral("Save"), QRect(0, 0, 100, 30)), u"Save");
}

TEST(ButtonPlus, EnterActivatesUnlessDisabled)
{
    Fixture f;
    int clicks = 0;
    QObject::connect(f.button, &QAbstractButton::clicked, [&] { ++clicks; });
    f.window.show();
    // Space, as on any button, and Tab are driven in the windows' tests.
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(f.button, &enter);
    EXPECT_TRUE(QTest::qWaitFor([&] { return clicks == 1; }, 2000));

    const QImage enabled = f.image();
    f.button->setEnabled(false);
    QApplication::sendEvent(f.button, &enter);
    QApplication::processEvents();
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(inkBox(f.image(), isCaption).isEmpty()) << "caption drawn in the disabled colour";
    EXPECT_FALSE(inkBox(enabled, isCaption).isEmpty());
}

// Every state the user can meet looks different from the others.
TEST(ButtonPlus, StatesAreVisiblyDistinct)
{
    struct State {
        const char* name;
        std::function<void(ButtonPlus*)> apply;
    };
    const State states[] = {
        { "normal", [](ButtonPlus*) {} },
        { "hover", [](ButtonPlus* b) { b->setAttribute(Qt::WA_UnderMouse); } },
        { "pressed", [](ButtonPlus* b) { b->setDown(true); } },
        { "disabled", [](ButtonPlus* b) { b->setEnabled(false); } },
        { "emphasised", [](ButtonPlus* b) { b->setBorderStyle(ButtonBorder::Emphasised); } },
        { "flat", [](ButtonPlus* b) { b->setBorderStyle(ButtonBorder::None); } },
    };
    QList<QImage> images;
    for (const State& state : states) {
        Fixture f;
        state.apply(f.button);
        images.append(f.image());
    }
    for (int i = 0; i < images.size(); ++i)
        for (int j = i + 1; j < images.size(); ++j)
            EXPECT_NE(images[i], images[j]) << states[i].name << " vs " << states[j].name;
    // The emphasised frame is amber.
    const auto amber = [](QColor c) { return c.red() > 180 && c.green() > 90 && c.green() < 170 && c.blue() < 60; };
    const int middle = images[0].height() / 2;
    EXPECT_TRUE(amber(images[4].pixelColor(1, middle)));
    EXPECT_FALSE(amber(images[0].pixelColor(1, middle)));
}

// The ring stands out from any face, also from a headline colour close to
// the highlight's brightness.
TEST(ButtonPlus, FocusDrawsARingThatStandsOutFromTheFace)
{
    for (const QColor face : {QColor(0xE8, 0xE8, 0xE8), QColor(0x10, 0x40, 0xC0), QColor(0xAA, 0x19, 0x28)}) {
        Fixture f;
        QPalette palette = f.button->palette();
        palette.setColor(QPalette::Button, face);
        f.button->setPalette(palette);
        f.window.show();
        f.window.activateWindow();
        f.button->setFocus();
        (void)QTest::qWaitFor([&] { return f.button->hasFocus(); }, 2000);
        if (!f.button->hasFocus())
            GTEST_SKIP() << "the platform gives no keyboard focus";
        const QImage focused = f.image();
        f.button->clearFocus();
        const QImage plain = f.image();
        // The ring runs just inside the frame, away from picture and caption.
        const int y = f.button->height() / 2;
        int step = 0;
        for (int x = 2; x < 6; ++x)
            step = std::max(step, std::abs(qGray(focused.pixel(x, y)) - qGray(plain.pixel(x, y))));
        EXPECT_GE(step, 60) << face.name().toStdString();
    }
}

// A list with the ring that scrolls, by wheel or bar, shows on the screen
// what a full paint shows: the ring at its edge, not copied into its middle.
TEST(FocusRing, StaysAtTheEdgeOfAListThatScrolls)
{
    QWidget window;
    auto* list = new WithFocusRing<QListWidget>(&window);
    list->setGeometry(0, 0, 200, 150);
    for (int i = 0; i < 100; ++i)
        list->addItem(QStringLiteral("Template %1").arg(i));
    window.resize(200, 150);
    window.show();
    window.activateWindow();
    list->setFocus();
    if (!QTest::qWaitFor([&] { return list->hasFocus() && window.isActiveWindow(); }, 2000))
        GTEST_SKIP() << "the platform gives no keyboard focus";
    const auto onScreen = [&] {
        QTest::qWait(20);
        return window.screen()->grabWindow(window.winId()).toImage().convertToFormat(QImage::Format_RGB32);
    };
    for (const int row : {3, 10, 4}) {
        list->verticalScrollBar()->setValue(row);
        const QImage shown = onScreen();
        list->viewport()->repaint();
        EXPECT_EQ(shown, onScreen()) << row;
    }
}

// A caption reads in the button's own direction, whatever the application's:
// a translated "Load picture..." in a Hebrew window keeps its dots at the
// end, and so does an untranslated Hebrew caption in an English one.
TEST(ButtonPlus, CaptionReadsInTheButtonsOwnDirection)
{
    for (const auto& [caption, direction] : {std::pair{u"Load picture...", Qt::LeftToRight},
                                             std::pair{u"טען תמונה...", Qt::RightToLeft}}) {
        Fixture f;
        f.button->setPicture(QIcon());
        f.button->setCaption(QString::fromUtf16(caption));
        f.button->setLayoutDirection(direction);
        QList<QImage> images;
        for (Qt::LayoutDirection application : {Qt::LeftToRight, Qt::RightToLeft}) {
            QGuiApplication::setLayoutDirection(application);
            images << f.image();
        }
        QGuiApplication::setLayoutDirection(Qt::LeftToRight);
        EXPECT_EQ(images[0], images[1]) << direction;
    }
}

} // namespace
