#include "ret/gradient.h"
#include "ret/panelpaint.h"
#include "ret/propertybag.h"
#include "ret/retainer.h"

#include <gtest/gtest.h>

namespace {

std::unique_ptr<Retainer> loadedPanel(const QString& state = {})
{
    auto panel = std::make_unique<Retainer>();
    auto bag = ret::TextPropertyBag::fromText(state);
    EXPECT_TRUE(bag && panel->readProperties(*bag));
    panel->resize(120, 80);
    panel->Repaint(); // hidden widgets get their resize event only when shown
    return panel;
}

TEST(Properties, RepaintOnlyWhenLoadedOrLaidOut)
{
    Retainer fresh;
    fresh.resize(60, 40);
    fresh.setBackAngle(90); // new panel: no picture until shown or resized
    EXPECT_TRUE(fresh.surface().isNull());
    fresh.show();
    EXPECT_EQ(fresh.surface().size(), QSize(60, 40));

    auto panel = loadedPanel();
    panel->setBackMiddleOut(false);
    panel->setBackAngle(0);
    const QImage before = panel->surface();
    EXPECT_EQ(before.pixel(60, 40), ret::toQRgb(ret::rampColor(qint32(ret::defaults::kBackColor2),
                                                               qint32(ret::defaults::kBackColor1), 40, 79)));
    panel->setEnabledValue(true); // stored only
    EXPECT_EQ(panel->surface(), before);
    panel->setBackAngle(180);
    EXPECT_NE(panel->surface(), before);
}

TEST(Painting, BorderRingAndWindowRegion)
{
    for (int thickness : {0, 3}) {
        auto panel = loadedPanel(QStringLiteral("HeaderVisible = 0\nBorderThickness = %1\nBorderColor = 255\n")
                                     .arg(thickness));
        panel->setCurvature(10);
        const QImage& img = panel->surface();
        const QRgb red = qRgb(255, 0, 0);
        EXPECT_EQ(img.pixel(60, 0) == red, thickness > 0);
        EXPECT_EQ(img.pixel(60, 2) == red, thickness > 2);
        EXPECT_NE(img.pixel(60, 3), red);
        EXPECT_EQ(img.pixel(0, 40) == red, thickness > 0);
        EXPECT_FALSE(panel->mask().contains(QPoint(0, 0)));
        EXPECT_TRUE(panel->mask().contains(QPoint(60, 40)));
    }
}

TEST(Painting, NoFontNoHeaderZeroIconIgnoredAndThinHeaders)
{
    auto panel = loadedPanel("BackMiddleOut = 0\nBackAngle = 0\nHeaderColor1 = 255\nHeaderColor2 = 255\n");
    EXPECT_EQ(panel->surface().pixel(60, 23), qRgb(255, 0, 0));
    panel->clearCaptionFont();
    EXPECT_NE(panel->surface().pixel(60, 23), qRgb(255, 0, 0));
    std::optional<QPixmap> empty = QPixmap();
    EXPECT_FALSE(ret::IconUsable(empty));
    EXPECT_FALSE(ret::IconUsable(std::nullopt));
    EXPECT_TRUE(ret::IconUsable(QPixmap(4, 4)));
    auto thin = loadedPanel("HeaderHeight = 1\nBorderThickness = 2\nBorderColor = 255\n");
    EXPECT_EQ(thin->surface().pixel(60, 79), qRgb(255, 0, 0)); // a one-pixel header keeps the border
    EXPECT_FALSE(thin->mask().isEmpty());
}

// For a screen of two device pixels per pixel the panel is drawn twice as
// fine, every length doubled: header band, border and caption.
TEST(Painting, ForAScaledScreenEveryLengthGrows)
{
    auto panel = loadedPanel("BackMiddleOut = 0\nBackAngle = 0\nHeaderColor1 = 255\nHeaderColor2 = 255\n"
                             "BorderThickness = 2\nBorderColor = 65280\nCaptionColor = 16711680\n");
    panel->setCaption(QStringLiteral("Versions"));
    const ret::PanelProperties& state = panel->properties();
    const QImage once = ret::paintPanelForScreen(state, panel->palette(), panel->size(), 1.0);
    EXPECT_EQ(once, panel->surface().convertToFormat(once.format()));
    const QImage twice = ret::paintPanelForScreen(state, panel->palette(), panel->size(), 2.0);
    ASSERT_EQ(twice.size(), QSize(240, 160));
    EXPECT_EQ(twice.devicePixelRatio(), 2.0);
    const auto rows = [](const QImage& image, auto inRow) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            n += inRow(image, y) ? 1 : 0;
        return n;
    };
    const auto header = [](const QImage& image, int y) { return image.pixel(image.width() * 9 / 10, y) == qRgb(255, 0, 0); };
    const auto border = [](const QImage& image, int y) { return image.pixel(image.width() * 9 / 10, y) == qRgb(0, 255, 0); };
    const auto caption = [](const QImage& image, int y) {
        for (int x = 0; x < image.width(); ++x)
            if (qBlue(image.pixel(x, y)) > 200 && qRed(image.pixel(x, y)) < 60)
                return true;
        return false;
    };
    EXPECT_EQ(rows(twice, header), 2 * rows(once, header));
    EXPECT_EQ(rows(twice, border), 2 * rows(once, border));
    EXPECT_GT(rows(once, caption), 5);
    EXPECT_NEAR(rows(twice, caption), 2 * rows(once, caption), 2);
}

TEST(Persistence, RoundTripThroughText)
{
    QWidget host;
    QFont ambient("Liberation Serif", 14);
    host.setFont(ambient);
    Retainer panel(&host);
    EXPECT_EQ(panel.captionFont(), ambient);
    QImage icon(8, 6, QImage::Format_ARGB32);
    icon.fill(qRgb(10, 200, 30));
    panel.setHeaderIcon(QPixmap::fromImage(icon));
    panel.setCaption("כותרת \"quoted\"\nline");
    panel.setBackAngle(400);
    panel.setBorderColor(0x8000000F);
    panel.setEnabledValue(true);
    panel.setHeaderVisible(false);
    panel.setCurvature(10);
    ret::TextPropertyBag bag;
    ASSERT_TRUE(panel.writeProperties(bag));
    EXPECT_FALSE(bag.contains("Curvature"));
    EXPECT_FALSE(bag.contains("CaptionFont"));
    auto parsed = ret::TextPropertyBag::fromText(bag.toText());
    ASSERT_TRUE(parsed);
    Retainer copy(&host);
    ASSERT_TRUE(copy.readProperties(*parsed));
    EXPECT_TRUE(copy.isLoaded());
    EXPECT_EQ(copy.caption(), panel.caption());
    EXPECT_EQ(copy.backAngle(), 360);
    EXPECT_EQ(copy.borderColor(), 0x8000000Fu);
    EXPECT_TRUE(copy.enabledValue());
    EXPECT_FALSE(copy.headerVisible());
    EXPECT_EQ(copy.iconSize(), 0); // a new panel's 0 is written: the saved default is 1
    EXPECT_EQ(copy.captionFont(), ambient);
    EXPECT_EQ(copy.headerIcon().toImage().convertToFormat(QImage::Format_ARGB32), icon);
}

TEST(Persistence, BadValuesAreRefused)
{
    QString error;
    EXPECT_FALSE(ret::TextPropertyBag::fromText("Caption = \"open", &error));
    EXPECT_TRUE(error.contains("line 1"));
    auto bag = ret::TextPropertyBag::fromText("Curvature = 4\nBackAngle = 70000\n");
    ASSERT_TRUE(bag);
    Retainer panel;
    EXPECT_FALSE(panel.readProperties(*bag, &error));
    EXPECT_TRUE(error.contains("BackAngle"));
    EXPECT_EQ(panel.curvature(), 10); // read after BackAngle, so untouched
    EXPECT_FALSE(panel.isLoaded());
}

} // namespace
