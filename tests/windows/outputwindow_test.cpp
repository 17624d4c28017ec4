#include "windowfixture.h"

#include "windows/output/picformwindow.h"
#include "windows/output/printing.h"
#include "windows/output/saving.h"

#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QScrollBar>

#include <unistd.h>

using test::WindowFixture;

namespace {

TEST(Saving, TheFormatFollowsTheRealExtension)
{
    struct Case {
        const char* chosen;
        int filter; // 0 JPEG, 1 bitmap
        const char* path;
        nuvela::PictureFileFormat format;
    };
    using F = nuvela::PictureFileFormat;
    const Case cases[] = {
        {"/d/card.jpg", 0, "/d/card.jpg", F::Jpeg},     {"/d/card.jpeg", 0, "/d/card.jpeg", F::Jpeg},
        {"/d/CARD.BMP", 0, "/d/CARD.BMP", F::Bmp},      {"/d/card.JPG", 1, "/d/card.JPG", F::Jpeg},
        {"/d/mycard", 0, "/d/mycard.jpg", F::Jpeg},     {"/d/mycard", 1, "/d/mycard.bmp", F::Bmp},
        {"/d/my.card", 1, "/d/my.card.bmp", F::Bmp},    {"/d/card.", 0, "/d/card.jpg", F::Jpeg},
    };
    for (const Case& c : cases) {
        const auto filters = nuvela::parseFileFilter(nuvela::kSaveFilter);
        const nuvela::SaveTarget t = nuvela::saveTargetFor(
            {QString::fromLatin1(c.chosen), c.filter, filters[size_t(c.filter)].extension()});
        EXPECT_EQ(t.path, QLatin1String(c.path)) << c.chosen;
        EXPECT_EQ(t.format, c.format) << c.chosen;
    }
}

TEST(Printing, FittedAndCentredOnThePrintableArea)
{
    struct Case {
        QSizeF page;
        QRectF area, expected;
    };
    const Case cases[] = {
        {{100, 200}, {10, 20, 50, 100}, {10, 20, 50, 100}},     // same proportions fill it
        {{100, 200}, {0, 0, 400, 100}, {175, 0, 50, 100}},      // portrait on landscape: centred across
        {{300, 100}, {0, 0, 100, 100}, {0, 33.333, 100, 33.333}}, // flat page: centred down
        {{10, 10}, {5, 5, 1000, 2000}, {5, 505, 1000, 1000}},   // small pages are enlarged
        {{0, 10}, {0, 0, 100, 100}, {}},
    };
    for (const Case& c : cases) {
        const QRectF r = nuvela::printPlacement(c.page, c.area);
        EXPECT_NEAR(r.x(), c.expected.x(), 0.01);
        EXPECT_NEAR(r.y(), c.expected.y(), 0.01);
        EXPECT_NEAR(r.width(), c.expected.width(), 0.01);
        EXPECT_NEAR(r.height(), c.expected.height(), 0.01);
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

TEST_F(OutputWindow, SavingUnderEachKindOfName)
{
    nuvela::PicformWindow& out = open("family-times");
    folder.write("out/card.bmp", "the user's own bitmap");
    struct Case {
        const char* chosen;
        int filter;
        const char* written;
        const char* format;
    };
    const Case cases[] = {
        {"out/card.jpg", 0, "out/card.jpg", "jpeg"},  {"out/card.jpeg", 0, "out/card.jpeg", "jpeg"},
        {"out/CARD.BMP", 0, "out/CARD.BMP", "bmp"},   {"out/mycard", 1, "out/mycard.bmp", "bmp"},
        {"out/other", 0, "out/other.jpg", "jpeg"},
    };
    for (const Case& c : cases) {
        dialogs.answerSave(folder.file(c.chosen), c.filter);
        out.savePicture();
        QImageReader reader(folder.file(c.written));
        EXPECT_EQ(reader.format(), QByteArray(c.format)) << c.chosen;
        EXPECT_EQ(reader.size(), program->canvas.image().size()) << c.chosen;
    }
    // Nothing named after the target was touched or left behind.
    EXPECT_EQ(folder.read("out/card.bmp"), "the user's own bitmap");
    EXPECT_FALSE(QFileInfo::exists(folder.file("out/card..jpg")));
    EXPECT_FALSE(QFileInfo::exists(folder.file("out/mycard.jpg")));
    EXPECT_FALSE(QFileInfo::exists(folder.file("out/CARD.jpg")));

    // A cancelled dialog changes nothing; a failure is shown.
    dialogs.cancel(nuvela::ScriptedDialogs::Kind::Save);
    out.savePicture();
    dialogs.answerSave(folder.file("no/such/folder/card.jpg"));
    out.savePicture();
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages().first().startsWith(u"Error|Cannot write")) << messages().first().toStdString();

    // A read-only file is replaced only when the user says so (the system
    // itself would let an administrator through without a word).
    folder.write("out/kept.jpg", "protected");
    QFile::setPermissions(folder.file("out/kept.jpg"), QFile::ReadOwner);
    for (const bool yes : {false, true}) {
        if (yes && ::geteuid() != 0)
            break; // only an administrator can replace it at all
        dialogs.answerSave(folder.file("out/kept.jpg"));
        dialogs.answerAsk(yes);
        out.savePicture();
        EXPECT_EQ(dialogs.requests().back().kind, nuvela::ScriptedDialogs::Kind::Ask);
        EXPECT_TRUE(dialogs.requests().back().text.startsWith(u"The file")) << dialogs.requests().back().text.toStdString();
        EXPECT_EQ(QImageReader(folder.file("out/kept.jpg")).canRead(), yes);
    }
    EXPECT_TRUE(dialogs.unexpected().isEmpty());
}

TEST_F(OutputWindow, PrintingToAFile)
{
    nuvela::PicformWindow& out = open("birthday");
    dialogs.answerPrint(folder.file("print.pdf"));
    out.printPicture();
    EXPECT_GT(QFileInfo(folder.file("print.pdf")).size(), 1000);
    dialogs.cancel(nuvela::ScriptedDialogs::Kind::Print);
    out.printPicture();
    EXPECT_TRUE(dialogs.allAnswered());
}

TEST_F(OutputWindow, FittedAndFullSize)
{
    folder.write("templates/tall.ini", test::ansi("[templateid]\nid=108\n[paper]\nsize=6000,50000\nalign=ltr\n"));
    nuvela::PicformWindow& out = open("tall");
    out.Res(1);
    QScrollBar* v = out.verticalBar();
    QScrollBar* h = out.horizontalBar();
    QWidget* viewport = out.fullSizeCanvas()->parentWidget();
    EXPECT_TRUE(v->isVisibleTo(&out));
    EXPECT_TRUE(out.fullSizeCanvas()->isVisibleTo(&out));
    // Vertical: from 0 down to the viewport's height less the page's, in twips.
    const int innerHeight = viewport->height() * 15;
    EXPECT_EQ(v->maximum(), 0);
    const int pageHeight = program->canvas.image().height() * 15; // 50000 twips, to the pixel
    EXPECT_EQ(v->minimum(), innerHeight - pageHeight);
    EXPECT_LT(v->minimum(), -32768); // beyond what 16 bits hold
    EXPECT_EQ(v->pageStep(), innerHeight);
    EXPECT_EQ(v->singleStep(), innerHeight / 5);
    v->setValue(v->minimum());
    // The bottom edge of the page comes into view.
    EXPECT_NEAR(out.fullSizeCanvas()->y() + out.fullSizeCanvas()->height(), viewport->height(), 1);
    // Horizontal: a page narrower than the viewport moves right from the corner.
    EXPECT_EQ(h->minimum(), 0);
    EXPECT_EQ(h->maximum(), viewport->width() * 15 - program->canvas.image().width() * 15);

    out.Res(0);
    EXPECT_FALSE(v->isVisibleTo(&out));
    EXPECT_FALSE(h->isVisibleTo(&out));
    EXPECT_FALSE(out.fullSizeCanvas()->isVisibleTo(&out));
    EXPECT_EQ(out.previewMode(), 0);
    out.Res(7); // any other mode does nothing
    EXPECT_EQ(out.previewMode(), 0);
}

} // namespace
