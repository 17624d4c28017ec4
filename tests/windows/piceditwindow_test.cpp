#include "windowfixture.h"

#include "support/pixels.h"

#include "store/numbers.h"
#include "windows/common/buttonplus.h"
#include "windows/main/pageview.h"
#include "windows/picedit/piceditwindow.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyleOptionButton>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <functional>

using test::WindowFixture;
using nuvela::PiceditWindow;

namespace {

constexpr QRgb kLeft = test::kTopLeft, kRight = test::kTopRight; // split at 30 % of the width

/// A click on an option button's caption (right-aligned in Hebrew).
void clickOption(QWidget* option)
{
    QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(option->width() - 12, option->height() / 2));
}

bool near(QRgb a, QRgb b, int tolerance = 48)
{
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance
        && std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

class PiceditFixture : public WindowFixture {
protected:
    QString picture(const QString& relative, const QImage& image)
    {
        const QString path = folder.path() + QStringLiteral("/pics/") + relative;
        QDir().mkpath(QFileInfo(path).absolutePath());
        EXPECT_TRUE(image.save(path));
        return path;
    }
    /// Runs drive on the picture editor as soon as it is shown modally.
    void whenEditorShows(std::function<void(PiceditWindow&)> drive)
    {
        auto* timer = new QTimer;
        timer->setInterval(5);
        QObject::connect(timer, &QTimer::timeout, [timer, drive] {
            if (auto* editor = qobject_cast<PiceditWindow*>(QApplication::activeModalWidget())) {
                timer->stop();
                timer->deleteLater();
                editor->activateWindow();
                editor->view()->setFocus();
                drive(*editor);
                if (editor->isVisible()) // never leave a test waiting on the dialog
                    editor->reject();
            }
        });
        timer->start();
    }
    /// The page's pixel at the middle of picture object n.
    QRgb frameCentre(int n)
    {
        const auto box = nuvela::Fields(program->store.get(nuvela::StoreMode::Get, QStringLiteral("object%1").arg(n), u"picdim")).box();
        EXPECT_TRUE(box);
        return program->canvas.image().pixel(program->canvas.toPixel(QPointF(box->x + box->w / 2, box->y + box->h / 2)));
    }
    QLabel* frame(int n) { return window->pageView()->pictureOverlay(n); }
};

TEST_F(PiceditFixture, EditorDrivenByKeysMouseAndWheel)
{
    start();
    choose("birthday"); // object 10: a 6400 x 4500 frame, 427 x 300 pixels
    PiceditWindow editor(*program, 10, picture("wide.png", test::quadrants(800, 300)), window.get(), QSize(800, 600));
    editor.show();
    editor.activateWindow();
    editor.view()->setFocus();
    const nuvela::Framing& f = editor.framing();
    EXPECT_EQ(editor.sizeLabel()->text(), u"427 X 300");
    EXPECT_EQ(editor.view()->size(), QSize(427, 300));
    EXPECT_TRUE(editor.modeButton(1)->isChecked()); // a wide picture fits the height
    EXPECT_EQ(editor.zoomBar()->maximum(), 19); // 800 pixels over 427
    // Centred: the 30 % split of 800 pixels lands at 240 - 186.7 = 53 pixels.
    EXPECT_EQ(editor.viewImage().pixel(45, 150), kLeft);
    EXPECT_EQ(editor.viewImage().pixel(62, 150), kRight);
    // Tab from the view stops at the mode in use, not at the first one.
    ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
    QTest::keyClick(editor.view(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), editor.modeButton(1));
    editor.view()->setFocus();

    // Keys and the mouse, as a user drives the view.
    const std::int64_t centre = f.h.value;
    QTest::keyClick(editor.view(), Qt::Key_Right);
    EXPECT_EQ(f.h.value, centre - 100);
    QTest::keyClick(editor.view(), Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(f.h.value, f.h.excess); // a large step stops at the left edge
    QTest::mousePress(editor.view(), Qt::LeftButton, {}, QPoint(200, 150));
    QTest::mouseMove(editor.view(), QPoint(190, 150));
    QTest::mouseRelease(editor.view(), Qt::LeftButton, {}, QPoint(190, 150));
    EXPECT_EQ(f.h.value, f.h.excess - 150); // the picture follows the pointer
    QTest::keyClick(editor.view(), Qt::Key_Plus);
    EXPECT_EQ(f.zoom, 12);
    EXPECT_FALSE(editor.modeButton(1)->isChecked()); // zoomed: no mode is lit
    EXPECT_EQ(f.h.excess, 14400 - 6400);
    test::turnWheel(editor.view(), QPoint(0, 240));
    QTest::keyClick(editor.view(), Qt::Key_Minus);
    EXPECT_EQ(f.zoom, 14);

    clickOption(editor.modeButton(0)); // stretched
    EXPECT_FALSE(editor.zoomBar()->isEnabled());
    EXPECT_FALSE(editor.horizontalBar()->isEnabled());
    EXPECT_EQ(editor.viewImage().pixel(120, 150), kLeft); // 30 % of 427 = 128
    EXPECT_EQ(editor.viewImage().pixel(136, 150), kRight);
    editor.mirrorBox()->setFocus();
    QTest::keyClick(editor.mirrorBox(), Qt::Key_Space);
    EXPECT_EQ(editor.viewImage().pixel(290, 150), kRight); // 70 % of 427 = 299
    EXPECT_EQ(editor.viewImage().pixel(306, 150), kLeft);
    dialogs.cancel(nuvela::ScriptedDialogs::Kind::Open);
    editor.loadOther(); // cancelled: the crop stays
    EXPECT_TRUE(editor.modeButton(0)->isChecked());
    dialogs.answerOpen(picture("other.png", test::quadrants(427, 300)));
    // Ctrl+O: another picture, with its own fit, still mirrored. The button
    // shows itself pressed a moment first.
    QTest::keyClick(editor.view(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return f.mode == nuvela::FillMode::FitHeight; }));
    EXPECT_EQ(editor.viewImage().pixel(290, 150), kRight);
    EXPECT_EQ(editor.viewImage().pixel(306, 150), kLeft);
    // Tab goes on to the zoom bar, which shows that it has the keys.
    const QImage unfocused = editor.zoomBar()->grab().toImage();
    editor.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
    editor.mirrorBox()->setFocus();
    QTest::keyClick(editor.mirrorBox(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), editor.zoomBar());
    EXPECT_EQ(test::unmarkedSides(editor.zoomBar()->grab().toImage(), unfocused), QStringList());

    // Tab goes on through the commands as they are read, in either direction.
    for (const auto& [direction, first, second] :
         {std::tuple{Qt::LeftToRight, "cansul", "putpic"}, {Qt::RightToLeft, "putpic", "cansul"}}) {
        QGuiApplication::setLayoutDirection(direction);
        PiceditWindow walked(*program, 10, picture("wide.png", test::quadrants(800, 300)), window.get(), QSize(800, 600));
        walked.show();
        walked.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&walked));
        walked.findChild<QWidget*>("loadpic")->setFocus();
        for (const char* next : {first, second}) {
            QTest::keyClick(walked.focusWidget(), Qt::Key_Tab);
            EXPECT_EQ(walked.focusWidget()->objectName(), QLatin1String(next)) << direction;
        }
    }
    QGuiApplication::setLayoutDirection(Qt::LeftToRight);
    editor.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));

    // Esc closes without touching the page.
    const QString tag = program->state.gpic[10].tag;
    QTest::keyClick(editor.view(), Qt::Key_Escape);
    EXPECT_EQ(editor.result(), QDialog::Rejected);
    EXPECT_EQ(program->state.gpic[10].tag, tag);
    EXPECT_TRUE(dialogs.unexpected().isEmpty());
}

TEST_F(PiceditFixture, PictureFramesOnThePage)
{
    start();
    choose("wedding"); // frames 8 and 10
    QImage redImage(300, 200, QImage::Format_RGB32), blueImage(300, 200, QImage::Format_RGB32);
    redImage.fill(Qt::red);
    blueImage.fill(Qt::blue);
    const QString red = picture("one/a.png", redImage);
    const QString blue = picture("two/a.png", blueImage); // the same name in another folder

    // A click opens the file dialog, Ctrl+Enter applies the editor.
    for (const auto& [n, source] : {std::pair{8, red}, std::pair{10, blue}}) {
        dialogs.answerOpen(source);
        whenEditorShows([](PiceditWindow& e) { QTest::keyClick(e.view(), Qt::Key_Return, Qt::ControlModifier); });
        QTest::mouseClick(frame(n), Qt::LeftButton);
    }
    EXPECT_EQ(program->state.gpic[8].tag, u"a_1.jpg");
    EXPECT_EQ(program->state.gpic[10].tag, u"a_2.jpg");
    // The undo entry names the file the user chose, not the framed copy.
    EXPECT_EQ(window->stepName(true), QStringLiteral("בטל: התמונה \"\u200Ea\u200E\""));
    window->viewpic();
    EXPECT_TRUE(near(frameCentre(8), 0xffff0000)) << std::hex << frameCentre(8);
    EXPECT_TRUE(near(frameCentre(10), 0xff0000ff)) << std::hex << frameCentre(10);
    ASSERT_EQ(dialogs.requests().size(), 2u);
    EXPECT_TRUE(dialogs.requests()[0].qtFilters.first().startsWith(u"All supported Images (*.gif *.jpg *.jpeg *.bmp *.png"));

    // A failing write: message "Error", the tag stays, the editor stays open.
    QDir(folder.path()).rename(QStringLiteral("temppic"), QStringLiteral("temppic.away"));
    folder.write("temppic", "not a folder");
    dialogs.answerOpen(red);
    whenEditorShows([](PiceditWindow& e) {
        EXPECT_FALSE(e.apply());
        EXPECT_TRUE(e.isVisible());
        e.reject();
    });
    QTest::mouseClick(frame(10), Qt::LeftButton);
    ASSERT_EQ(messages().size(), 1);
    const QString temppic = QDir::toNativeSeparators(folder.file("temppic"));
    EXPECT_TRUE(messages().value(0).startsWith(u"שגיאה|לא ניתן להכין את התמונה"));
    EXPECT_TRUE(messages().value(0).contains(temppic));
    EXPECT_FALSE(QString(messages().value(0)).remove(temppic).contains(QRegularExpression(QStringLiteral("[A-Za-z]{2,}"))));
    EXPECT_EQ(program->state.gpic[10].tag, u"a_2.jpg");

    // Stretched and not mirrored keeps the source path; Enter on a focused frame opens it.
    dialogs.answerOpen(red);
    whenEditorShows([](PiceditWindow& e) {
        clickOption(e.modeButton(0));
        EXPECT_TRUE(e.apply());
    });
    frame(10)->setFocus();
    QTest::keyClick(frame(10), Qt::Key_Return);
    EXPECT_EQ(program->state.gpic[10].tag, red);

    // Right-click and Delete remove pictures without a dialog.
    QTest::mouseClick(frame(8), Qt::RightButton);
    frame(10)->setFocus();
    QTest::keyClick(frame(10), Qt::Key_Delete);
    EXPECT_EQ(program->state.gpic[8].tag, u"nopic");
    EXPECT_EQ(program->state.gpic[10].tag, u"nopic");
    EXPECT_FALSE(near(frameCentre(8), 0xffff0000));
    EXPECT_EQ(dialogs.requests().size(), 5u); // four file dialogs and the one message
}

TEST_F(PiceditFixture, HeadlineColourAndLogoText)
{
    start();
    choose("birthday-daily"); // showbot=true, a headline text row
    auto* coll = window->findChild<nuvela::ButtonPlus*>("Coll");
    ASSERT_TRUE(coll->isVisibleTo(window.get()));
    const QRgb chosen = qRgb(0x12, 0x88, 0x34);
    const auto count = [&] { // in the top fifth of the page
        const QImage& page = program->canvas.image();
        return test::inkCount(page.copy(0, 0, page.width(), page.height() / 5), [&](QColor c) { return c.rgb() == chosen; });
    };
    EXPECT_EQ(count(), 0);
    dialogs.cancel(nuvela::ScriptedDialogs::Kind::Colour);
    coll->setFocus();
    QTest::keyClick(coll, Qt::Key_Space);
    EXPECT_FALSE(program->state.isModified());
    dialogs.answerColour(0x348812); // 0x00BBGGRR
    QTest::keyClick(coll, Qt::Key_Space);
    EXPECT_EQ(program->state.headline.collColour, 0x348812u);
    EXPECT_TRUE(program->state.isModified());
    EXPECT_GT(count(), 100); // white logo pixels take the colour
    EXPECT_EQ(dialogs.requests().back().initialColour, 7874770u);

    // The logo text rebuilds every overlay; the new picture frames still work.
    QPointer<QLabel> before = frame(6);
    window->findChild<QCheckBox*>("kotxt")->click(); // after the prompt about the change
    EXPECT_TRUE(program->state.headline.kotxtChecked);
    ASSERT_NE(frame(6), nullptr);
    EXPECT_TRUE(before.isNull());
    QTest::mouseClick(frame(6), Qt::RightButton);
    EXPECT_EQ(program->state.gpic[6].tag, u"nopic");
}

TEST_F(PiceditFixture, EveryFrameOfEverySample)
{
    start();
    const QString photo = picture("photo.png", test::quadrants(640, 480));
    for (const QString name : {"anniversary", "bar-mitzvah", "birthday", "birthday-daily", "family-times", "wedding"}) {
        choose(name);
        for (const auto& [n, frame] : program->state.gpic) {
            if (!frame.visible)
                continue;
            PiceditWindow editor(*program, n, photo, window.get(), QSize(800, 600));
            EXPECT_TRUE(editor.hasPicture()) << name.toStdString() << n;
            EXPECT_EQ(editor.view()->size(), QSize(qRound(frame.box.width() / 15), qRound(frame.box.height() / 15)));
            EXPECT_TRUE(editor.apply()) << name.toStdString() << n;
        }
    }
}

TEST_F(PiceditFixture, UnreadablePicture)
{
    // The view says why instead of staying empty, in the interface language.
    const struct {
        const char* language;
        QByteArray bytes; // "" with file: no file at all
        bool file;
        const char* says;
    } cases[] = {
        {"hebrew", "not a picture", true, "אינו תמונה מסוג BMP, GIF, JPEG או PNG, או שהוא פגום"},
        {"hebrew", "", true, "אינו תמונה"},
        {"hebrew", QByteArray("\xff\xd8\xff\xe0garbage"), true, "או שהוא פגום"},
        {"hebrew", "", false, "לא נמצא"},
        {"english", "not a picture", true, "is not a BMP, GIF, JPEG or PNG picture, or it is damaged"},
        {"nederlands", "", false, "is niet gevonden"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.language) + " " + c.bytes.toStdString());
        startIn(QString::fromLatin1(c.language));
        choose("birthday");
        const QString path = folder.path() + QStringLiteral("/pics/bad.jpg");
        QFile::remove(path);
        if (c.file)
            folder.write("pics/bad.jpg", c.bytes);
        PiceditWindow editor(*program, 10, path, window.get(), QSize(800, 600));
        EXPECT_FALSE(editor.hasPicture());
        EXPECT_FALSE(editor.applyButton()->isEnabled());
        EXPECT_FALSE(editor.apply());
        EXPECT_TRUE(editor.viewMessage().contains(QString::fromUtf8(c.says))) << editor.viewMessage().toStdString();
        EXPECT_TRUE(editor.viewMessage().contains(QStringLiteral("bad.jpg")));
        const int ink = test::inkCount(editor.view()->grab().toImage(), [](QColor px) { return qGray(px.rgb()) < 128; });
        EXPECT_GT(ink, 50);
        // The position choices, disabled, still read on their panel's gradient.
        QWidget* panel = editor.findChild<QWidget*>(QStringLiteral("Frame1"));
        const QImage shot = panel->grab().toImage();
        const auto luminance = [](QColor c) {
            const auto lin = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
            return 0.2126 * lin(c.redF()) + 0.7152 * lin(c.greenF()) + 0.0722 * lin(c.blueF());
        };
        for (QAbstractButton* choice : panel->findChildren<QAbstractButton*>()) {
            EXPECT_FALSE(choice->isEnabled());
            QStyleOptionButton option;
            option.initFrom(choice);
            option.text = choice->text();
            const bool radio = qobject_cast<QRadioButton*>(choice);
            const QRect caption = choice->style()
                                      ->subElementRect(radio ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents, &option, choice)
                                      .translated(choice->pos());
            const int groundX = choice->isRightToLeft() ? choice->x() + 2 : choice->geometry().right() - 2;
            double contrast = 1;
            for (int y = caption.top(); y <= caption.bottom(); ++y) {
                const double ground = luminance(shot.pixelColor(groundX, y));
                for (int x = caption.left(); x <= caption.right(); ++x) {
                    const double ink = luminance(shot.pixelColor(x, y));
                    contrast = std::max(contrast, (std::max(ground, ink) + 0.05) / (std::min(ground, ink) + 0.05));
                }
            }
            EXPECT_GE(contrast, 3.0) << choice->text().toStdString();
        }
    }
}

} // namespace
