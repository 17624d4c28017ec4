// What a single page costs: memory limits end in one line, bitmaps match
// the PNG, PDFs hold vectors and the pictures at their own resolution.

#include "runner.h"
#include "support/testdirs.h"
#include "canvas/surface.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Under an address-space limit the renderer either draws or says it has not
// the memory, in one line, and leaves no file: never an abort or a hang.
TEST(LeanRender, AllocationFailuresEndInOneErrorLine)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's shadow memory needs an unlimited address space";
#endif
    test::ProgramFolder folder;
    // A text store of 60 MiB: below the store's limit, above what is left.
    QFile store(folder.file("templates/textdata.txt"));
    ASSERT_TRUE(store.open(QIODevice::Append));
    store.write("[filler]\r\nx=" + QByteArray(60 << 20, 'w') + "\r\n");
    store.close();
    QTemporaryDir out;
    struct Case { QStringList args; long limitKiB; const char* says; };
    const QString shipped = test::stagedDataDir();
    const Case cases[] = {
        {{"--program-dir", folder.path(), "--template", "family-times"}, 150000, "not enough memory"},
        {{"--program-dir", shipped, "--template", "family-times", "--scale", "10"}, 150000, "not enough memory"},
    };
    for (const Case& c : cases) {
        const QString target = out.filePath("page.jpg");
        const test::Run r = test::runRenderer(c.args + QStringList{"-o", target}, c.limitKiB);
        SCOPED_TRACE(c.args.join(' ').toStdString());
        EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
        EXPECT_TRUE(r.err.startsWith(u"Error: ") && r.err.count(u'\n') == 1) << r.err.toStdString();
        EXPECT_NE(r.err.indexOf(QLatin1String(c.says)), -1) << r.err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(target));
    }
    // The same shipped page draws under that limit: store files cost their size.
    const test::Run fits = test::runRenderer({"--template", "family-times", "-o", out.filePath("fits.jpg")}, 150000);
    EXPECT_EQ(fits.exitCode, 0) << fits.err.toStdString();
}

// A bitmap is the PNG's page pixel for pixel. A PDF draws on no raster page
// and embeds its pictures at their own resolution when the box prints them
// no finer (the sample photos, 640 pixels wide or 480 high as cut to their
// frames, are finer than 96 dpi of their boxes).
TEST(LeanRender, BitmapAndPdfCarryThePageAndNothingMore)
{
    // photos: how many images of the photos' size (as pdfimages lists it) the PDF holds
    struct Case { const char* tavnit; const char* scale; const char* size; int photos; };
    const Case cases[] = {
        {"family-times", "1", "640\\s+(435|480)", 2},
        {"family-times", "3.125", "640\\s+(435|480)", 2},
        {"wedding", "1", "636\\s+480", 2},
    };
    QTemporaryDir out;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.tavnit) + " at " + c.scale);
        const QString stem = out.filePath(QStringLiteral("%1-%2").arg(c.tavnit, c.scale));
        for (const char* ext : {".png", ".BMP", ".pdf", ".jpeg"})
            ASSERT_EQ(test::runRenderer({"--template", c.tavnit, "--scale", c.scale, "--quality", "90", "-o", stem + ext}).exitCode, 0) << ext;
        EXPECT_EQ(QImage(stem + ".png").convertToFormat(QImage::Format_RGB32),
                  QImage(stem + ".BMP", "bmp").convertToFormat(QImage::Format_RGB32));
        EXPECT_EQ(QImageReader(stem + ".jpeg").format(), "jpeg");
        // Rows are real text in embedded fonts.
        EXPECT_TRUE(test::runTool("pdffonts", {stem + ".pdf"}).contains(u"Liberation"));
        EXPECT_FALSE(test::runTool("pdftotext", {stem + ".pdf", "-"}).simplified().isEmpty());
        const QString list = test::runTool("pdfimages", {"-list", stem + ".pdf"});
        EXPECT_EQ(list.count(QRegularExpression(QStringLiteral("image\\s+%1\\s").arg(QLatin1String(c.size)))), c.photos)
            << list.toStdString();
    }

    QPdfWriter writer(out.filePath("v.pdf")); // outlives the surface's painter
    nuvela::Surface vector(1);
    vector.setVectorTarget(&writer);
    ASSERT_TRUE(vector.resize(12000, 16000));
    EXPECT_TRUE(vector.image().isNull());
}

} // namespace
