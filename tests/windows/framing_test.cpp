#include "support/pixels.h"
#include "windows/picedit/framing.h"
#include "windows/picedit/picturefile.h"

#include <QBuffer>
#include <QDir>

#include <gtest/gtest.h>

using namespace nuvela;

namespace {

using test::kTopLeft, test::kTopRight, test::kBottomLeft, test::kBottomRight, test::kSplitX, test::kSplitY, test::quadrants;
constexpr QRgb kPaper = 0xffffffff;

/// Checks a composed image against the picture placed at `rect` (pixels),
/// sampling away from every edge where filtering blends colours.
void expectPlaced(const QImage& shown, QRectF rect, bool mirror, const std::string& label, int tolerance = 0)
{
    const double edgesX[] = {rect.left(), rect.right(), rect.left() + rect.width() * (mirror ? 1 - kSplitX : kSplitX)};
    const double edgesY[] = {rect.top(), rect.bottom(), rect.top() + rect.height() * kSplitY};
    int checked = 0;
    for (int y = 1; y < shown.height(); y += 3) {
        for (int x = 1; x < shown.width(); x += 3) {
            auto near = [](double v, const double* e) { return std::abs(v - e[0]) < 2 || std::abs(v - e[1]) < 2 || std::abs(v - e[2]) < 2; };
            if (near(x + 0.5, edgesX) || near(y + 0.5, edgesY))
                continue;
            QRgb want = kPaper;
            if (rect.contains(x + 0.5, y + 0.5)) {
                double u = (x + 0.5 - rect.left()) / rect.width();
                if (mirror)
                    u = 1 - u;
                const double v = (y + 0.5 - rect.top()) / rect.height();
                want = v < kSplitY ? (u < kSplitX ? kTopLeft : kTopRight) : (u < kSplitX ? kBottomLeft : kBottomRight);
            }
            const QRgb got = shown.pixel(x, y);
            const int off = std::max({std::abs(qRed(got) - qRed(want)), std::abs(qGreen(got) - qGreen(want)),
                                      std::abs(qBlue(got) - qBlue(want))});
            ASSERT_LE(off, tolerance) << label << " at " << x << "," << y << ": " << std::hex << got;
            ++checked;
        }
    }
    EXPECT_GT(checked, 100) << label;
}

Framing frame(QSize sourcePixels, FillMode mode)
{
    Framing f;
    f.view = QSizeF(1500, 1500); // 100 x 100 pixels
    f.source = QSizeF(sourcePixels) * 15.0;
    selectMode(f, mode);
    return f;
}

TEST(Framing, EachModeByPixelsOfTheView)
{
    // expected: where the picture lands, pixels of the 100 x 100 view
    struct Case { const char* name; QSize source; FillMode mode; int zoom; bool toLeftEdge; bool mirror; QRectF expected; };
    const Case cases[] = {
        {"fit to width, tall", {100, 200}, FillMode::FitWidth, 10, false, false, {0, -50, 100, 200}},
        {"fit to width, wide: bands above and below", {200, 100}, FillMode::FitWidth, 10, false, false, {0, 25, 100, 50}},
        {"centred, tall: the whole picture", {100, 200}, FillMode::Centred, 10, false, false, {25, 0, 50, 100}},
        {"zoom 20, panned to the left edge", {200, 100}, FillMode::FitHeight, 20, true, false, {0, -50, 400, 200}},
    };
    for (const Case& c : cases) {
        Framing f = frame(c.source, c.mode);
        f.zoom = c.zoom;
        layOut(f);
        if (c.toLeftEdge)
            f.h.value = f.h.excess;
        const QImage picture = quadrants(c.source.width(), c.source.height());
        const QImage shown = composeFramed(c.mirror ? mirrored(picture) : picture, f, QSize(100, 100));
        expectPlaced(shown, c.expected, c.mirror, c.name);
    }
}

TEST(Framing, ProportionalPanAndRecentring)
{
    Framing f = frame({200, 100}, FillMode::FitHeight);
    EXPECT_EQ(f.h.excess, 1500); // a wide picture in a square frame: centred,
    EXPECT_EQ(f.h.value, 750);   // no vertical excess
    EXPECT_EQ(f.v.excess, 0);
    struct Step { int zoom; double panX; std::int64_t hExcess, hValue, vExcess, vValue; };
    const Step steps[] = {
        {20, 0, 4500, 2250, 1500, 750},      // from an empty vertical range: stays centred
        {20, -1000, 4500, 1250, 1500, 750},  // the user pans
        {30, 0, 7500, 2083, 3000, 1500},     // keeps its relative place
        {11, 0, 1800, 900, 150, 75},         // below 12: centred again
    };
    for (const Step& s : steps) {
        if (s.panX != 0)
            EXPECT_TRUE(panBy(f, s.panX, 0));
        else {
            f.zoom = s.zoom;
            layOut(f);
        }
        EXPECT_EQ(f.h.excess, s.hExcess) << s.zoom;
        EXPECT_EQ(f.h.value, s.hValue) << s.zoom;
        EXPECT_EQ(f.v.excess, s.vExcess) << s.zoom;
        EXPECT_EQ(f.v.value, s.vValue) << s.zoom;
    }
    // Choosing a mode starts again at zoom 10, centred.
    selectMode(f, FillMode::FitHeight);
    EXPECT_EQ(f.zoom, 10);
    EXPECT_EQ(f.h.value, 750);
    // The centred mode pans over its own excess, not the previous mode's.
    selectMode(f, FillMode::Centred);
    EXPECT_EQ(f.h.excess, 0);
    EXPECT_EQ(f.v.excess, 750);
    // Pans stop at the ends of their ranges; a stretched picture does not pan.
    EXPECT_TRUE(panBy(f, 0, 1e9));
    EXPECT_EQ(f.v.value, 750);
    EXPECT_FALSE(panBy(f, 1e9, 1e9));
    selectMode(f, FillMode::Stretched);
    EXPECT_FALSE(panBy(f, -10, -10));
}

TEST(Framing, RangesBeyondSixteenBits)
{
    Framing f = frame({4000, 100}, FillMode::FitHeight); // 60 000 twips wide
    f.zoom = zoomMaximum(f.source.width(), f.view.width());
    EXPECT_EQ(f.zoom, 400);
    layOut(f);
    EXPECT_EQ(f.h.excess, 60000 * 40 - 1500);
    f.h.value = f.h.excess;
    EXPECT_DOUBLE_EQ(drawRect(f).left(), 0); // the left edge
    f.h.value = 0;
    EXPECT_DOUBLE_EQ(drawRect(f).right(), 1500); // the right edge
}

TEST(PictureFiles, LargeAndTurnedPhotos)
{
    test::ProgramFolder folder(test::ProgramFolder::Start::Empty);
    // A wide JPEG whose EXIF orientation (6) turns it upright, its EXIF data
    // after an XMP segment.
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(quadrants(400, 200).save(&buffer, "JPEG"));
    const QByteArray exif = QByteArray::fromHex("ffe10022" "457869660000" "4d4d002a00000008" "0001"
                                                "011200030000000100060000" "00000000");
    const QString turned = folder.path() + QStringLiteral("/turned.jpg");
    const QByteArray xmp("\xFF\xE1\0\x1F" "http://ns.adobe.com/xap/1.0/", 33);
    folder.write("turned.jpg", jpeg.left(2) + xmp + exif + jpeg.mid(2));
    const EditorPicture picture = loadEditorPicture(turned, QSize(50, 50));
    ASSERT_TRUE(picture.ok()) << picture.error.toStdString();
    EXPECT_EQ(picture.fullPixels, QSize(200, 400)); // decides zoom and output sizes
    EXPECT_EQ(picture.working.size(), QSize(50, 100)); // decoded small, still covering
    EXPECT_EQ(defaultMode(QSizeF(picture.fullPixels), {1500, 1500}), FillMode::FitWidth);

    // A transparent part shows over white paper, as on the page and in the
    // applied picture, not its hidden colour.
    QImage clear(4, 4, QImage::Format_ARGB32);
    clear.fill(QColor(255, 0, 0, 0));
    const QString clearPath = folder.path() + QStringLiteral("/clear.png");
    ASSERT_TRUE(clear.save(clearPath));
    EXPECT_EQ(loadEditorPicture(clearPath, QSize(4, 4)).working.pixel(1, 1), kPaper);
}

TEST(PictureFiles, NamesOutputSizesAndApplying)
{
    test::ProgramFolder folder(test::ProgramFolder::Start::Empty);
    const QString temppic = folder.path() + QStringLiteral("/temppic");
    folder.write("temppic/a_1.jpg", "x");
    struct Name { const char* source; const char* expected; };
    for (const Name& n : {Name{"/x/a.jpg", "a_2.jpg"}, Name{"/x/A.JPG", "A_2.jpg"}, Name{"/x/my.photo.jpg", "my_1.jpg"},
                          Name{"/x/.jpg", "picture_1.jpg"}, Name{"C:\\pics\\b.bmp", "b_1.jpg"},
                          Name{"/x/\u7167\u7247.png", "___1.jpg"}, Name{"/x/\u05ea\u05de\u05d5\u05e0\u05d4.jpg", "\u05ea\u05de\u05d5\u05e0\u05d4_1.jpg"}})
        EXPECT_EQ(uniquePictureName(temppic, QString::fromUtf8(n.source)), QString::fromUtf8(n.expected)) << n.source;

    // The applied picture: 300 dpi at most, never coarser than the screen.
    Framing f;
    f.view = QSizeF(6400, 4800);
    f.source = QSizeF(6000, 4000) * 15.0;
    selectMode(f, FillMode::FitWidth);
    EXPECT_EQ(outputPixels(f, {6000, 4000}), QSize(1333, 1000));
    EXPECT_EQ(outputPixels(f, {200, 133}), QSize(427, 320));

    // Stretched and not mirrored: the source path, nothing written;
    // mirrored: a new picture beside the taken name, at the source's fineness.
    const QString a = folder.path() + QStringLiteral("/one/a.png");
    QDir(folder.path()).mkdir(QStringLiteral("one"));
    ASSERT_TRUE(quadrants(300, 200).save(a));
    Framing s;
    s.view = QSizeF(3000, 3000);
    s.source = QSizeF(300, 200) * 15.0;
    selectMode(s, FillMode::Stretched);
    const int before = QDir(temppic).count();
    EXPECT_EQ(applyFraming(folder.path(), a, s, false, 90).tag, a);
    EXPECT_EQ(QDir(temppic).count(), before);
    const AppliedPicture applied = applyFraming(folder.path(), a, s, true, 90);
    ASSERT_TRUE(applied.ok()) << applied.error.toStdString();
    EXPECT_EQ(applied.tag, u"a_2.jpg"); // a_1.jpg is taken
    const QImage one(temppic + u'/' + applied.tag);
    ASSERT_EQ(one.size(), QSize(300, 300));
    expectPlaced(one, QRectF(0, 0, 300, 300), true, "mirrored", 48); // JPEG blurs colours a little
}

} // namespace
