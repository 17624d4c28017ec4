#include "windowfixture.h"

#include "windows/common/controls.h"
#include "windows/output/picformwindow.h"
#include "windows/output/printing.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QImageReader>
#include <QLabel>
#include <QTextLayout>

#include <functional>

#include <sys/stat.h>
#include <unistd.h>

using test::WindowFixture;

namespace {

// A page scaled by one factor to just fit a box and centred in it; paper and
// screen share the fit.
TEST(Placement, FittedAndCentredInTheBox)
{
    struct Case { QSizeF page; QRectF box, expected; };
    const Case cases[] = {
        {{100, 200}, {10, 20, 50, 100}, {10, 20, 50, 100}},       // same proportions fill it
        {{100, 200}, {0, 0, 400, 100}, {175, 0, 50, 100}},        // portrait on landscape: centred across
        {{300, 100}, {0, 0, 100, 100}, {0, 33.333, 100, 33.333}}, // flat page: centred down
        {{10, 10}, {5, 5, 1000, 2000}, {5, 505, 1000, 1000}},     // small pages are enlarged
        {{0, 10}, {0, 0, 100, 100}, {}}, {{10, 10}, {0, 0, 0, 100}, {}}, // nothing to fit, or into: no division by zero
    };
    for (const Case& c : cases) {
        const QRectF r = nuvela::printPlacement(c.page, c.box);
        for (const auto& [got, want] : {std::pair{r.x(), c.expected.x()}, {r.y(), c.expected.y()},
                                        {r.width(), c.expected.width()}, {r.height(), c.expected.height()}})
            EXPECT_NEAR(got, want, 0.01) << c.page.width() << "x" << c.page.height() << " in " << c.box.width();
    }
}

class OutputWindow : public WindowFixture {
protected:
    nuvela::PicformWindow& open(const QString& name)
    {
        start();
        choose(name);
        return window->output();
    }
};

// Each kind of name gets its format and extension; a file is replaced only
// after the user agreed, under the name it really gets ("card1" with the
// JPEG filter asks about "card1.jpg").
TEST_F(OutputWindow, SavingUnderEachKindOfName)
{
    nuvela::PicformWindow& out = open("family-times");
    folder.write("out/card.bmp", "the user's own bitmap");
    const std::tuple<const char*, int, const char*, const char*> cases[] = {
        {"out/card.jpg", 0, "out/card.jpg", "jpeg"},  {"out/card.jpeg", 0, "out/card.jpeg", "jpeg"},
        {"out/CARD.BMP", 0, "out/CARD.BMP", "bmp"},   {"out/mycard", 1, "out/mycard.bmp", "bmp"},
        {"out/other", 0, "out/other.jpg", "jpeg"},    {"out/card.JPG", 1, "out/card.JPG", "jpeg"},
        {"out/my.card", 1, "out/my.card.bmp", "bmp"}, {"out/card2.", 0, "out/card2.jpg", "jpeg"},
        {"out/trail.png  ", 0, "out/trail.png", "png"},
    };
    for (const auto& [chosen, filter, written, format] : cases) {
        dialogs.answerSave(folder.file(chosen), filter);
        out.savePicture();
        QImageReader reader(folder.file(written));
        EXPECT_EQ(reader.format(), QByteArray(format)) << chosen;
        EXPECT_EQ(reader.size(), program->canvas.image().size()) << chosen;
    }
    // Nothing named after the target was touched or left behind.
    EXPECT_EQ(folder.read("out/card.bmp"), "the user's own bitmap");
    for (const char* name : {"out/card2..jpg", "out/mycard.jpg", "out/CARD.jpg", "out/trail.png  .jpg"})
        EXPECT_FALSE(QFileInfo::exists(folder.file(name))) << name;

    const std::tuple<const char*, int, const char*, bool> replacing[] = {
        {"out/card1", 0, "out/card1.jpg", false}, {"out/card1", 0, "out/card1.jpg", true},
        {"out/card2", 1, "out/card2.bmp", false}, {"out/card3.jpg", 0, "out/card3.jpg", true},
    };
    for (const auto& [chosen, filter, existing, yes] : replacing) {
        folder.write(existing, "the user's own file");
        dialogs.answerSave(folder.file(chosen), filter);
        dialogs.answerAsk(yes);
        out.savePicture();
        EXPECT_TRUE(dialogs.requests().back().text.contains(QFileInfo(existing).fileName())) << chosen;
        EXPECT_EQ(dialogs.requests().back().ask, nuvela::Ask::Warning) << "Enter keeps the old file";
        EXPECT_EQ(folder.read(existing) != "the user's own file", yes) << chosen;
    }
    EXPECT_EQ(questions().size(), 4);

    // A cancelled dialog changes nothing; a failure is shown.
    dialogs.cancel(nuvela::ScriptedDialogs::Kind::Save);
    out.savePicture();
    ASSERT_EQ(::mkfifo(QFile::encodeName(folder.file("out/pipe.jpg")).constData(), 0644), 0);
    ASSERT_TRUE(QDir(folder.path()).mkpath("out/folder.jpg"));
    // chosen, the advice: a pipe or folder is not the folder's fault
    const std::pair<const char*, const char*> failing[] = {
        {"no/such/folder/card.jpg", "התיקייה קיימת"}, {"out/pipe.jpg", "בחרו שם אחר"}, {"out/folder.jpg", "בחרו שם אחר"},
    };
    for (const auto& [chosen, advice] : failing) {
        const qsizetype shown = messages().size();
        dialogs.answerSave(folder.file(chosen));
        out.savePicture();
        ASSERT_EQ(messages().size(), shown + 1) << chosen;
        // What failed and what the user can do, in the interface language.
        const QString message = messages().last();
        EXPECT_TRUE(message.startsWith(u"שגיאה|לא ניתן לשמור")) << message.toStdString();
        EXPECT_TRUE(message.contains(QString::fromUtf8(advice))) << message.toStdString();
        const QString target = QDir::toNativeSeparators(folder.file(chosen));
        EXPECT_TRUE(message.contains(target)) << message.toStdString();
        EXPECT_FALSE(QString(message).remove(target).contains(QRegularExpression(QStringLiteral("[A-Za-z]{2,}"))));
    }
    EXPECT_FALSE(QFileInfo(folder.file("out/pipe.jpg")).isFile());
    EXPECT_TRUE(QFileInfo(folder.file("out/folder.jpg")).isDir());

    // A read-only file is replaced only when the user says so (the system
    // itself would let an administrator through without a word), and the
    // new one stays protected.
    folder.write("out/kept.jpg", "protected");
    QFile::setPermissions(folder.file("out/kept.jpg"), QFile::ReadOwner);
    for (const bool yes : {false, true}) {
        dialogs.answerSave(folder.file("out/kept.jpg"));
        dialogs.answerAsk(yes);
        out.savePicture();
        EXPECT_EQ(dialogs.requests().back().kind, nuvela::ScriptedDialogs::Kind::Ask);
        EXPECT_TRUE(dialogs.requests().back().text.contains(u"מוגן")) << dialogs.requests().back().text.toStdString();
        EXPECT_EQ(QImageReader(folder.file("out/kept.jpg")).canRead(), yes);
        struct stat st{};
        ASSERT_EQ(::stat(QFile::encodeName(folder.file("out/kept.jpg")).constData(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0400) << yes;
    }
    EXPECT_TRUE(dialogs.unexpected().isEmpty());
}

// Saved pictures at the chosen resolution (remembered in the text store),
// PDF as vectors with embedded fonts.
TEST_F(OutputWindow, SavingAtFullQuality)
{
    nuvela::PicformWindow& out = open("birthday");
    folder.write("out/keep", "");
    auto* dpi = out.findChild<QComboBox*>("dpi");
    ASSERT_NE(dpi, nullptr);
    for (int i = 0; i < dpi->count(); ++i) { // read right to left, the number still comes before "dpi"
        const QString item = dpi->itemText(i);
        QTextLayout layout(item, dpi->font());
        QTextOption rightToLeft;
        rightToLeft.setTextDirection(Qt::RightToLeft);
        layout.setTextOption(rightToLeft);
        layout.beginLayout();
        const QTextLine line = layout.createLine();
        layout.endLayout();
        const int digit = int(item.indexOf(QRegularExpression(QStringLiteral("\\d"))));
        EXPECT_LT(line.cursorToX(digit), line.cursorToX(int(item.indexOf(u"dpi")))) << item.toStdString();
    }
    const QSize screen = program->canvas.image().size();
    // downs: Down keys on the resolution box before saving
    struct Case { int downs; const char* chosen; int filter; const char* format; double scale; };
    const Case cases[] = {
        {0, "out/a.png", 2, "png", 1}, {1, "out/b", 2, "png", 150 / 96.0}, {1, "out/c.jpg", 0, "jpeg", 300 / 96.0},
        {0, "out/d.bmp", 1, "bmp", 300 / 96.0},
    };
    dpi->setFocus();
    for (const Case& c : cases) {
        for (int i = 0; i < c.downs; ++i)
            QTest::keyClick(dpi, Qt::Key_Down);
        dialogs.answerSave(folder.file(c.chosen), c.filter);
        out.savePicture();
        EXPECT_TRUE(messages().isEmpty()) << messages().join(u' ').toStdString();
        const QString written = folder.file(c.chosen) + (QFileInfo(c.chosen).suffix().isEmpty() ? ".png" : "");
        QImageReader reader(written);
        EXPECT_EQ(reader.format(), QByteArray(c.format)) << c.chosen;
        EXPECT_NEAR(reader.size().width(), screen.width() * c.scale, 2) << c.chosen; // the canvas is rounded to whole pixels
        EXPECT_NEAR(reader.size().height(), screen.height() * c.scale, 2) << c.chosen;
        // and says so, to print at the page's size from any program
        EXPECT_NEAR(reader.read().dotsPerMeterX() * 0.0254, 96 * c.scale, 0.5) << c.chosen;
    }
    EXPECT_TRUE(folder.read("templates/textdata.txt").contains("savedpi=300"));
    // A choice the store cannot remember still holds for this run.
    QFile::setPermissions(folder.file("templates/textdata.txt"), QFile::ReadOwner);
    QTest::keyClick(dpi, Qt::Key_Up);
    dialogs.answerSave(folder.file("out/f.png"));
    out.savePicture();
    ASSERT_EQ(messages().size(), 1) << "not remembered";
    EXPECT_TRUE(messages().first().startsWith(u"שגיאה|הרזולוציה")) << messages().first().toStdString();
    EXPECT_FALSE(messages().first().contains(u"Cannot")) << "the store's English reason";
    EXPECT_NEAR(QImageReader(folder.file("out/f.png")).size().width(), screen.width() * 150 / 96.0, 2);
    QFile::setPermissions(folder.file("templates/textdata.txt"), QFile::ReadOwner | QFile::WriteOwner);
    start();
    choose("birthday");
    EXPECT_EQ(window->output().findChild<QComboBox*>("dpi")->currentData().toInt(), 300) << "remembered";

    dialogs.answerSave(folder.file("out/e"), 3);
    window->output().savePicture();
    EXPECT_EQ(messages().size(), 1) << messages().join(u' ').toStdString();
    EXPECT_TRUE(folder.read("out/e.pdf").startsWith("%PDF"));
    EXPECT_TRUE(test::runTool("pdffonts", {folder.file("out/e.pdf")}).contains(" yes ")) << "fonts embedded";
    EXPECT_TRUE(test::runTool("pdftotext", {folder.file("out/e.pdf"), "-"}).contains(u"יום")) << "rows are text";

    // Too wide to draw at 300 dpi: the resolution is to blame, not the folder.
    folder.write("templates/wide.ini", test::ansi("[templateid]\nid=111\n[paper]\nsize=150000,3000\nalign=ltr\n"));
    start();
    choose("wide");
    dialogs.answerSave(folder.file("out/wide.png"));
    window->output().savePicture();
    ASSERT_EQ(messages().size(), 2);
    EXPECT_TRUE(messages().last().contains(u"רזולוציה נמוכה")) << messages().last().toStdString();
    EXPECT_FALSE(QFileInfo::exists(folder.file("out/wide.png")));
    EXPECT_TRUE(dialogs.unexpected().isEmpty());
}

// The printed page is drawn at the printer's resolution (up to 600 dpi), and
// a landscape page prints in landscape.
TEST_F(OutputWindow, PrintingAtThePrintersResolution)
{
    folder.write("templates/flat.ini", test::ansi("[templateid]\nid=110\n[paper]\nsize=16000,11000\nalign=ltr\n"
                                                  "[object1]\nobjtype=malben\nobjdim=1000,1000,14000,9000\n"));
    struct Case { const char* name; bool landscape; };
    for (const Case& c : {Case{"birthday", false}, Case{"flat", true}}) {
        nuvela::PicformWindow& out = open(c.name);
        const QString pdf = folder.file(QStringLiteral("print-%1.pdf").arg(c.name));
        dialogs.answerPrint(pdf);
        out.printPicture();
        EXPECT_TRUE(messages().isEmpty()) << messages().join(u' ').toStdString();
        const QStringList image = test::runTool("pdfimages", {"-list", pdf}).split(u'\n').value(2).simplified().split(u' ');
        ASSERT_GT(image.size(), 4) << c.name;
        // Column 4 is the picture's width in pixels: about 600 dpi across the sheet.
        EXPECT_GT(image[3].toInt(), program->canvas.image().width() * 5) << c.name;
        const QString info = test::runTool("pdfinfo", {pdf});
        const QRegularExpressionMatch size = QRegularExpression("Page size:\\s+([\\d.]+) x ([\\d.]+)").match(info);
        ASSERT_TRUE(size.hasMatch()) << c.name;
        EXPECT_EQ(size.captured(1).toDouble() > size.captured(2).toDouble(), c.landscape) << c.name;
    }
    dialogs.cancel(nuvela::ScriptedDialogs::Kind::Print);
    window->output().printPicture();
    EXPECT_TRUE(dialogs.allAnswered());
    // Into a file that cannot be written, or a pipe (which held the program
    // forever): the file is named, the printer is not blamed.
    ASSERT_EQ(::mkfifo(QFile::encodeName(folder.file("pipe.pdf")).constData(), 0644), 0);
    for (const char* bad : {"no/such/folder/p.pdf", "pipe.pdf"}) {
        dialogs.answerPrint(folder.file(bad));
        window->output().printPicture();
        ASSERT_FALSE(messages().isEmpty()) << bad;
        EXPECT_TRUE(messages().last().contains(QDir::toNativeSeparators(folder.file(bad)))) << messages().last().toStdString();
        EXPECT_FALSE(messages().last().contains(u"מדפסת")) << messages().last().toStdString();
    }
}

// Every way of scrolling moves the page the way the user expects: read back
// from where the canvas ends up after real clicks, wheel turns and keys, over
// a page taller than 16-bit scroll ranges hold.
TEST_F(OutputWindow, ScrollingGoesTheWayTheUserExpects)
{
    folder.write("templates/big.ini", test::ansi("[templateid]\nid=109\n[paper]\nsize=30000,50000\nalign=ltr\n"));
    nuvela::PicformWindow& out = open("big");
    out.resize(out.size());
    out.show();
    out.Res(1);
    QWidget* page = out.fullSizeCanvas();
    QWidget* viewport = out.viewport();
    viewport->setFocus();
    auto arrow = [](QScrollBar* bar, QStyle::SubControl part) {
        QTest::mouseClick(bar, Qt::LeftButton, {}, test::scrollBarPart(bar, part).center());
    };
    auto wheel = [](QWidget* target, QPoint delta, Qt::KeyboardModifiers mods = {}) { test::turnWheel(target, delta, mods); };
    QScrollBar* v = out.verticalBar();
    QScrollBar* h = out.horizontalBar();
    // dx, dy: -1 the page moves left or up (later parts come into view), 1 back, 0 it stays.
    std::vector<std::tuple<QString, std::function<void()>, int, int>> cases = {
        {"down arrow", [&] { arrow(v, QStyle::SC_ScrollBarAddLine); }, 0, -1},
        {"up arrow", [&] { arrow(v, QStyle::SC_ScrollBarSubLine); }, 0, 1},
        {"right arrow", [&] { arrow(h, QStyle::SC_ScrollBarAddLine); }, -1, 0},
        {"left arrow", [&] { arrow(h, QStyle::SC_ScrollBarSubLine); }, 1, 0},
        {"wheel down on the bar", [&] { wheel(v, {0, -120}); }, 0, -1},
        {"wheel up on the bar", [&] { wheel(v, {0, 120}); }, 0, 1},
        {"wheel down over the page", [&] { wheel(viewport, {0, -120}); }, 0, -1},
        {"wheel up over the page", [&] { wheel(viewport, {0, 120}); }, 0, 1},
        {"shift+wheel over the page", [&] { wheel(viewport, {0, -120}, Qt::ShiftModifier); }, -1, 0},
    };
    for (const auto& [key, dx, dy] : {std::tuple{Qt::Key_Down, 0, -1}, {Qt::Key_Up, 0, 1}, {Qt::Key_Right, -1, 0},
                                      {Qt::Key_Left, 1, 0}, {Qt::Key_PageDown, 0, -1}, {Qt::Key_PageUp, 0, 1},
                                      {Qt::Key_End, 0, -1}, {Qt::Key_Home, 0, 1}})
        cases.emplace_back(QKeySequence(key).toString(), [&, key = key] { QTest::keyClick(viewport, key); }, dx, dy);
    for (const auto& [what, step, dx, dy] : cases) {
        // Start from the middle of the page so that both directions can move.
        v->setValue(v->maximum() / 2);
        h->setValue(h->maximum() / 2);
        const QPoint before = page->pos();
        step();
        const QPoint moved = page->pos() - before;
        EXPECT_EQ((moved.x() > 0) - (moved.x() < 0), dx) << what.toStdString();
        EXPECT_EQ((moved.y() > 0) - (moved.y() < 0), dy) << what.toStdString();
    }
    // Home and End reach the page's edges; the corner is the top-left.
    QTest::keyClick(viewport, Qt::Key_End);
    EXPECT_EQ(page->y() + page->height(), viewport->height());
    QTest::keyClick(viewport, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(page->pos(), QPoint(0, 0));
    EXPECT_GT(v->maximum() - v->minimum(), 32767);
    // Shown again, the page is where the user left it.
    QTest::keyClick(viewport, Qt::Key_End);
    const QPoint left = page->pos();
    QTest::mouseClick(out.findChild<QWidget*>(QStringLiteral("editpage")), Qt::LeftButton);
    out.Res(out.previewMode());
    EXPECT_EQ(page->pos(), left);
    // Fitted again: no bars, no full-size page; any other mode does nothing.
    out.Res(0);
    EXPECT_FALSE(v->isVisibleTo(&out) || h->isVisibleTo(&out) || page->isVisibleTo(&out));
    out.Res(7);
    EXPECT_EQ(out.previewMode(), 0);

    // A page narrower than the viewport moves right from the corner.
    folder.write("templates/narrow.ini", test::ansi("[templateid]\nid=108\n[paper]\nsize=3000,50000\nalign=ltr\n"));
    nuvela::PicformWindow& narrow = open("narrow");
    narrow.Res(1);
    narrow.horizontalBar()->setValue(narrow.horizontalBar()->maximum());
    EXPECT_EQ(narrow.fullSizeCanvas()->x() + narrow.fullSizeCanvas()->width(), narrow.viewport()->width());
}

// Full size chosen by the arrow keys, as by a click, leaves the keys with the
// page, which shows that it has them: the next Page Down scrolls it.
TEST_F(OutputWindow, FullSizeChosenByKeysScrollsByKeys)
{
    folder.write("templates/big.ini", test::ansi("[templateid]\nid=109\n[paper]\nsize=30000,50000\nalign=ltr\n"));
    nuvela::PicformWindow& out = open("big");
    out.Res(0);
    out.show();
    out.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&out));
    QWidget* fitted = nuvela::findArrayElement(&out, u"showme", 0);
    fitted->setFocus(Qt::TabFocusReason);
    const QImage withoutFocus = out.viewport()->grab().toImage();
    QTest::keyClick(fitted, Qt::Key_Down);
    ASSERT_EQ(out.previewMode(), 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == out.viewport(); }, 1000));
    const QPoint before = out.fullSizeCanvas()->pos();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown);
    EXPECT_LT(out.fullSizeCanvas()->y(), before.y());
    // The page's edge is drawn apart while the page has the keys.
    out.Res(0);
    out.viewport()->setFocus();
    EXPECT_NE(out.viewport()->grab().toImage(), withoutFocus) << "the focus is not seen";
}

} // namespace
