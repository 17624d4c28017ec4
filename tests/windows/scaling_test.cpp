#include "windows/common/controls.h"
#include "windows/common/toolkitproperties.h"
#include "windows/common/twips.h"
#include "windows/options/scaling.h"

#include <QGroupBox>
#include <QLabel>

#include <gtest/gtest.h>

using namespace nuvela;

namespace {

// A small window laid out in twips for the 800 x 600 design.
struct Window {
    QWidget window;
    QLabel* label = new QLabel(QStringLiteral("label"), &window);
    QGroupBox* frame = new QGroupBox(&window);
    QLabel* inner = new QLabel(frame);
    QLabel* pic = new QLabel(&window);
    QLabel* nav0 = new QLabel(&window);
    QLabel* nav1 = new QLabel(&window);

    Window()
    {
        window.setObjectName(QStringLiteral("article"));
        setTwipsGeometry(&window, { 1500, 750, 9000, 6000 });
        place(label, "lbl", { 1000, 1000, 2000, 500 }, 10);
        place(frame, "Frame1", { 3000, 3000, 4500, 1500 }, 12);
        place(inner, "inner", { 150, 300, 1000, 400 }, 0); // shows the frame's font
        place(pic, "Pic", { 0, 0, 1500, 1500 }, 12);
        makeArrayElement(nav0, QStringLiteral("nav"), 0);
        makeArrayElement(nav1, QStringLiteral("nav"), 1);
        setTwipsGeometry(nav0, { 100, 8000, 450, 450 });
        setTwipsGeometry(nav1, { 600, 8000, 450, 450 });
    }

    static void place(QWidget* w, const char* name, QRectF twips, double points)
    {
        w->setObjectName(QString::fromLatin1(name));
        setTwipsGeometry(w, twips);
        if (points > 0) {
            QFont font = w->font();
            font.setPointSizeF(points);
            w->setFont(font);
        }
    }
};

/// QRectF compares with a relative tolerance.
void expectRect(const QWidget* w, QRectF expected) { EXPECT_EQ(twipsGeometry(w), expected) << w->objectName().toStdString(); }

QRectF scaled(QRectF r, ScaleFactors f)
{
    return { r.x() * f.x, r.y() * f.y, r.width() * f.x, r.height() * f.y };
}

TEST(Scaling, EveryControlButPicStretchesByTheScreen)
{
    for (const auto& [screen, fx, fy] : {std::tuple{QSize(800, 600), 1.0, 1.0}, {QSize(1024, 768), 1.28, 1.28},
                                         {QSize(1280, 1024), 1.6, 1024.0 / 600}}) {
        SCOPED_TRACE(screen.width());
        const ScaleFactors f = scaleFactors(screen);
        EXPECT_DOUBLE_EQ(f.x, fx);
        EXPECT_DOUBLE_EQ(f.y, fy);
        Window w;
        const double systemPoints = w.nav0->font().pointSizeF();
        QFont pixels = w.nav1->font(); // a font given in pixels has no point size to scale
        pixels.setPixelSize(13);
        w.nav1->setFont(pixels);
        ScaleWindow(&w.window, screen);
        expectRect(&w.window, scaled({ 1500, 750, 9000, 6000 }, f));
        expectRect(w.label, scaled({ 1000, 1000, 2000, 500 }, f));
        expectRect(w.frame, scaled({ 3000, 3000, 4500, 1500 }, f));
        expectRect(w.inner, scaled({ 150, 300, 1000, 400 }, f)); // within its frame
        expectRect(w.nav0, scaled({ 100, 8000, 450, 450 }, f));
        expectRect(w.nav1, scaled({ 600, 8000, 450, 450 }, f));
        expectRect(w.pic, { 0, 0, 1500, 1500 });
        EXPECT_DOUBLE_EQ(w.label->font().pointSizeF(), 10 * fy * 0.8);
        EXPECT_DOUBLE_EQ(w.frame->font().pointSizeF(), 12 * fy * 0.8);
        EXPECT_DOUBLE_EQ(w.inner->font().pointSizeF(), 12 * fy * 0.8) << "scaled once, not twice";
        EXPECT_DOUBLE_EQ(w.nav0->font().pointSizeF(), systemPoints * fy * 0.8);
        EXPECT_EQ(w.nav1->font().pixelSize(), 13);
        EXPECT_DOUBLE_EQ(w.pic->font().pointSizeF(), 12);
        // Pixels follow the exact twips to the nearest.
        EXPECT_EQ(w.label->geometry(), QRect(qRound(1000 * fx / 15), qRound(1000 * fy / 15), qRound(2000 * fx / 15),
                                             qRound(500 * fy / 15)));
    }
}

} // namespace
