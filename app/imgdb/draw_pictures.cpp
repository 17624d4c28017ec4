// nuvela-draw-pictures PICTURES_DIR DATA_DIR
// Draws the pictures of the sample image databases (headline logos and stock
// pictures, into PICTURES_DIR) and the program folder's placeholder and sample
// user pictures (into DATA_DIR). Every picture is drawn from code with fixed
// random seeds, so running it again gives the same files.

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <QRawFont>
#include <QSet>
#include <QTextLayout>
#include <QGlyphRun>
#include <QtMath>
#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// Logos: the transparent key colour is pure blue; white takes the headline
// colour, black stays black. Nothing else may appear, or the tint shows fringes.
const QColor kKey(0, 0, 255);
const QColor kInk(Qt::white);
const QColor kShade(Qt::black);

constexpr int kJpegQuality = 88;

struct Logo {
    const char* file;
    QString name;
    QString tagline;
    bool hebrew;
};

QFont logoFont(bool hebrew, int pixelSize, bool bold = true)
{
    QFont font(hebrew ? QStringLiteral("Frank Ruehl CLM") : QStringLiteral("Liberation Serif"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

// Text as a path centred on `centreX` with its baseline at `baseline`, laid
// out by the text engine so that Hebrew runs right to left. Drawn as a filled
// path without antialiasing, every pixel is either in or out.
QPainterPath centredText(const QString& text, const QFont& font, qreal centreX, qreal baseline,
                         qreal letterSpacing = 0)
{
    QFont spaced = font;
    if (letterSpacing != 0)
        spaced.setLetterSpacing(QFont::AbsoluteSpacing, letterSpacing);
    QTextLayout layout(text, spaced);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(1e6);
    layout.endLayout();
    QPainterPath path;
    for (const QGlyphRun& run : layout.glyphRuns()) {
        const QRawFont raw = run.rawFont();
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype i = 0; i < glyphs.size(); ++i)
            path.addPath(raw.pathForGlyph(glyphs[i]).translated(positions[i]));
    }
    const QRectF box = path.boundingRect();
    return path.translated(centreX - box.center().x(), baseline - line.ascent());
}

// A star of `points` points, the first pointing up.
QPainterPath star(QPointF centre, qreal outer, qreal inner, int points)
{
    QPainterPath path;
    for (int i = 0; i < points * 2; ++i) {
        const qreal r = i % 2 ? inner : outer;
        const qreal angle = i * M_PI / points - M_PI / 2;
        const QPointF p = centre + QPointF(std::cos(angle) * r, std::sin(angle) * r);
        i ? path.lineTo(p) : path.moveTo(p);
    }
    path.closeSubpath();
    return path;
}

bool onlyLogoColours(const QImage& image)
{
    const QSet<QRgb> allowed { kKey.rgb(), kInk.rgb(), kShade.rgb() };
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (!allowed.contains(line[x] | 0xFF000000))
                return false;
        }
    }
    return true;
}

// Reduces a logo drawn `factor` times larger, without antialiasing, to its
// stored size: a pixel takes white where at least a quarter of it is white,
// else black where a quarter is black, else the key. Outlines rasterised
// straight at the stored size lose strokes thinner than a pixel (the bar of
// an "H" in the tagline); counting coverage keeps every stroke.
QImage reduceLogo(const QImage& large, int factor)
{
    QImage image(large.width() / factor, large.height() / factor, QImage::Format_RGB32);
    const int quarter = factor * factor / 4;
    for (int y = 0; y < image.height(); ++y) {
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            int ink = 0, shade = 0;
            for (int dy = 0; dy < factor; ++dy) {
                const auto* in = reinterpret_cast<const QRgb*>(large.constScanLine(y * factor + dy)) + x * factor;
                for (int dx = 0; dx < factor; ++dx) {
                    const QRgb c = in[dx] | 0xFF000000;
                    ink += c == kInk.rgb();
                    shade += c == kShade.rgb();
                }
            }
            out[x] = ink >= quarter ? kInk.rgb() : shade >= quarter ? kShade.rgb() : kKey.rgb();
        }
    }
    return image;
}

QImage drawLogo(const Logo& logo)
{
    // Drawn on a 960 × 200 grid and stored at 0.7 of it: logos are placed at
    // their own pixel size, and 672 pixels (10080 twips) leave margins on an
    // A4 or Letter page. Drawn four times larger first, see reduceLogo.
    constexpr int width = 960;
    constexpr int height = 200;
    constexpr qreal stored = 0.7;
    constexpr int oversample = 4;
    QImage image(int(width * stored) * oversample, int(height * stored) * oversample, QImage::Format_RGB32);
    image.fill(kKey);
    QPainter p(&image);
    p.scale(stored * oversample, stored * oversample);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.setPen(Qt::NoPen);

    // Double rule above, single rule below: the frame of a name-plate.
    p.setBrush(kInk);
    p.drawRect(24, 10, width - 48, 5);
    p.drawRect(24, 20, width - 48, 2);
    p.drawRect(24, height - 48, width - 48, 3);

    // The name, with a hard black shadow so it reads on any headline colour.
    QFont nameFont = logoFont(logo.hebrew, logo.hebrew ? 104 : 96);
    QPainterPath name = centredText(logo.name, nameFont, width / 2.0, 128);
    const qreal maxWidth = width - 150;
    if (name.boundingRect().width() > maxWidth) {
        nameFont.setPixelSize(int(nameFont.pixelSize() * maxWidth / name.boundingRect().width()));
        name = centredText(logo.name, nameFont, width / 2.0, 128);
    }
    p.setBrush(kShade);
    p.drawPath(name.translated(4, 4));
    p.setBrush(kInk);
    p.drawPath(name);

    const QRectF nameBox = name.boundingRect();
    p.drawPath(star(QPointF(nameBox.left() - 34, 84), 20, 5.6, 4));
    p.drawPath(star(QPointF(nameBox.right() + 34, 84), 20, 5.6, 4));

    // Tagline between two short rules, in small capitals.
    QFont tagFont = logoFont(logo.hebrew, 22);
    if (!logo.hebrew)
        tagFont.setCapitalization(QFont::AllUppercase);
    const QPainterPath tag = centredText(logo.tagline, tagFont, width / 2.0, height - 14, logo.hebrew ? 0 : 3);
    p.drawPath(tag);
    const QRectF tagBox = tag.boundingRect();
    p.drawRect(QRectF(60, tagBox.center().y() - 1, tagBox.left() - 80, 2).toRect());
    p.drawRect(QRectF(tagBox.right() + 20, tagBox.center().y() - 1, width - 60 - tagBox.right() - 20, 2).toRect());
    p.end();
    return reduceLogo(image, oversample);
}

// ---- stock pictures ------------------------------------------------------

QImage canvas(int width, int height, const QColor& top, const QColor& bottom)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0, top);
    sky.setColorAt(1, bottom);
    p.fillRect(image.rect(), sky);
    return image;
}

void balloon(QPainter& p, QPointF centre, qreal radius, const QColor& colour, QPointF stringEnd)
{
    QPainterPath string;
    string.moveTo(centre + QPointF(0, radius * 1.2));
    string.cubicTo(centre + QPointF(-radius * 0.5, radius * 2.2), stringEnd + QPointF(radius * 0.6, -radius),
                   stringEnd);
    p.setPen(QPen(QColor(90, 90, 90), 2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(string);

    QRadialGradient shine(centre - QPointF(radius * 0.35, radius * 0.45), radius * 1.4);
    shine.setColorAt(0, colour.lighter(175));
    shine.setColorAt(0.35, colour);
    shine.setColorAt(1, colour.darker(150));
    p.setPen(Qt::NoPen);
    p.setBrush(shine);
    p.drawEllipse(centre, radius, radius * 1.2);
    QPolygonF knot { centre + QPointF(0, radius * 1.15), centre + QPointF(-8, radius * 1.3),
                     centre + QPointF(8, radius * 1.3) };
    p.setBrush(colour.darker(130));
    p.drawPolygon(knot);
}

QImage drawBalloons()
{
    QImage image = canvas(800, 600, QColor(120, 190, 250), QColor(225, 242, 255));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Soft clouds first, then the balloons tied to one point at the bottom.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 200));
    for (QPointF c : { QPointF(140, 120), QPointF(620, 80), QPointF(690, 330) }) {
        p.drawEllipse(c, 80, 34);
        p.drawEllipse(c + QPointF(-50, 10), 50, 28);
        p.drawEllipse(c + QPointF(55, 8), 56, 26);
    }
    const QPointF tie(400, 580);
    const struct {
        QPointF at;
        qreal r;
        QColor colour;
    } balloons[] = {
        { { 250, 230 }, 70, QColor(230, 40, 60) },   { { 400, 170 }, 80, QColor(250, 190, 20) },
        { { 545, 240 }, 72, QColor(40, 120, 230) },  { { 320, 350 }, 62, QColor(60, 180, 90) },
        { { 480, 365 }, 64, QColor(200, 60, 200) },  { { 180, 400 }, 52, QColor(255, 120, 30) },
        { { 620, 420 }, 54, QColor(20, 190, 200) },
    };
    for (const auto& b : balloons)
        balloon(p, b.at, b.r, b.colour, tie);
    return image;
}

// A banner of confetti on a dark ground, `width` × `height`. The middle is
// kept clear, a darker calm band, so a light caption set over the banner
// stays readable.
QImage drawConfetti(int width, int height)
{
    QImage image = canvas(width, height, QColor(48, 18, 80), QColor(110, 30, 110));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF calm(width * 0.22, height * 0.18, width * 0.56, height * 0.64);
    QRadialGradient shadow(calm.center(), calm.width() / 2);
    shadow.setColorAt(0, QColor(30, 8, 50, 230));
    shadow.setColorAt(0.8, QColor(30, 8, 50, 160));
    shadow.setColorAt(1, QColor(30, 8, 50, 0));
    p.save();
    p.translate(calm.center());
    p.scale(1, calm.height() / calm.width());
    p.translate(-calm.center());
    p.setPen(Qt::NoPen);
    p.setBrush(shadow);
    p.drawEllipse(calm.center(), calm.width() / 2, calm.width() / 2);
    p.restore();

    QRandomGenerator random(20240501);
    const QColor colours[] = { QColor(255, 215, 0), QColor(255, 80, 120), QColor(80, 220, 255),
                               QColor(130, 255, 120), QColor(255, 255, 255), QColor(255, 150, 40) };
    // Streamers: wavy ribbons, outside the calm middle.
    const int ribbons = std::max(4, width / 115);
    for (int i = 0; i < ribbons; ++i) {
        qreal x = random.bounded(width);
        if (x > calm.left() - 20 && x < calm.right() + 20)
            x = x < width / 2.0 ? calm.left() - 40 - random.bounded(60) : calm.right() + 40 + random.bounded(60);
        QPainterPath ribbon;
        ribbon.moveTo(x, -20);
        for (int y = 0; y <= height + 40; y += 80)
            ribbon.quadTo(x + (y % 160 ? 40 : -40), y + 40, x, y + 80);
        p.setPen(QPen(colours[i % 6], 6, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(ribbon);
    }
    // Pieces thin out towards the calm middle.
    p.setPen(Qt::NoPen);
    const int pieces = int(420.0 * width * height / (800.0 * 600.0));
    for (int i = 0; i < pieces; ++i) {
        const QPointF at(random.bounded(width), random.bounded(height));
        const QPointF d = at - calm.center();
        const qreal inside = std::hypot(d.x() / (calm.width() / 2), d.y() / (calm.height() / 2));
        if (inside < 1 && random.bounded(1.0) > inside * inside * 0.5)
            continue;
        p.save();
        p.translate(at);
        p.rotate(random.bounded(360));
        p.setBrush(colours[random.bounded(6)]);
        if (i % 3)
            p.drawRect(QRectF(-7, -3.5, 14, 7));
        else
            p.drawEllipse(QPointF(0, 0), 4.5, 4.5);
        p.restore();
    }
    return image;
}

QImage drawCake()
{
    QImage image = canvas(800, 600, QColor(255, 228, 236), QColor(255, 246, 230));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    // Table and plate.
    p.setBrush(QColor(190, 130, 90));
    p.drawRect(0, 480, 800, 120);
    p.setBrush(QColor(245, 245, 250));
    p.drawEllipse(QPointF(400, 490), 280, 34);
    // Two tiers, each a body with an icing drip edge.
    const struct {
        QRectF body;
        QColor sponge;
        QColor icing;
    } tiers[] = {
        { QRectF(170, 340, 460, 150), QColor(240, 170, 190), QColor(255, 250, 252) },
        { QRectF(240, 230, 320, 110), QColor(170, 120, 200), QColor(255, 235, 120) },
    };
    for (const auto& tier : tiers) {
        p.setBrush(tier.sponge);
        p.drawRoundedRect(tier.body, 14, 14);
        QPainterPath drip;
        drip.moveTo(tier.body.topLeft() + QPointF(0, 14));
        for (qreal x = tier.body.left(); x < tier.body.right(); x += 40)
            drip.quadTo(x + 20, tier.body.top() + 60, x + 40, tier.body.top() + 18);
        drip.lineTo(tier.body.topRight());
        drip.lineTo(tier.body.topLeft());
        p.setBrush(tier.icing);
        p.drawPath(drip);
        for (qreal x = tier.body.left() + 30; x < tier.body.right() - 20; x += 46) {
            p.setBrush(QColor(255, 90, 120));
            p.drawEllipse(QPointF(x, tier.body.bottom() - 28), 7, 7);
        }
    }
    // Candles with flames and a glow.
    for (int i = 0; i < 5; ++i) {
        const qreal x = 290 + i * 55;
        p.setBrush(i % 2 ? QColor(80, 170, 240) : QColor(250, 120, 160));
        p.drawRect(QRectF(x - 7, 160, 14, 72));
        QRadialGradient glow(QPointF(x, 140), 40);
        glow.setColorAt(0, QColor(255, 230, 120, 180));
        glow.setColorAt(1, QColor(255, 230, 120, 0));
        p.setBrush(glow);
        p.drawEllipse(QPointF(x, 140), 40, 40);
        QPainterPath flame;
        flame.moveTo(x, 118);
        flame.cubicTo(x + 14, 138, x + 10, 156, x, 156);
        flame.cubicTo(x - 10, 156, x - 14, 138, x, 118);
        p.setBrush(QColor(255, 170, 30));
        p.drawPath(flame);
    }
    return image;
}

void flower(QPainter& p, QPointF centre, qreal radius, const QColor& petal, int petals)
{
    for (int i = 0; i < petals; ++i) {
        p.save();
        p.translate(centre);
        p.rotate(360.0 * i / petals);
        QRadialGradient shade(QPointF(0, -radius * 0.6), radius * 0.7);
        shade.setColorAt(0, petal.lighter(130));
        shade.setColorAt(1, petal);
        p.setBrush(shade);
        p.drawEllipse(QPointF(0, -radius * 0.55), radius * 0.3, radius * 0.55);
        p.restore();
    }
    p.setBrush(QColor(250, 200, 40));
    p.drawEllipse(centre, radius * 0.25, radius * 0.25);
}

QImage drawFlowers()
{
    QImage image = canvas(800, 600, QColor(250, 244, 232), QColor(236, 222, 205));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF vaseTop(400, 400);
    const struct {
        QPointF at;
        qreal r;
        QColor colour;
        int petals;
    } flowers[] = {
        { { 400, 150 }, 80, QColor(230, 60, 100), 8 },  { { 270, 210 }, 66, QColor(250, 150, 40), 7 },
        { { 530, 200 }, 70, QColor(170, 80, 200), 9 },  { { 330, 310 }, 56, QColor(255, 120, 160), 6 },
        { { 480, 320 }, 58, QColor(250, 220, 60), 10 }, { { 180, 330 }, 48, QColor(240, 90, 60), 6 },
        { { 620, 320 }, 50, QColor(90, 140, 230), 8 },
    };
    // Stems and leaves behind the blossoms.
    for (const auto& f : flowers) {
        p.setPen(QPen(QColor(60, 140, 60), 6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(f.at, vaseTop + QPointF((f.at.x() - 400) * 0.15, 20));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(80, 170, 80));
        const QPointF mid = (f.at + vaseTop) / 2;
        p.save();
        p.translate(mid);
        p.rotate(f.at.x() < 400 ? -40 : 40);
        p.drawEllipse(QPointF(18, 0), 22, 8);
        p.restore();
    }
    p.setPen(Qt::NoPen);
    for (const auto& f : flowers)
        flower(p, f.at, f.r, f.colour, f.petals);
    // The vase, a rounded jug with a highlight.
    QPainterPath vase;
    vase.moveTo(340, 400);
    vase.lineTo(460, 400);
    vase.cubicTo(520, 470, 500, 560, 450, 580);
    vase.lineTo(350, 580);
    vase.cubicTo(300, 560, 280, 470, 340, 400);
    QLinearGradient glaze(300, 0, 500, 0);
    glaze.setColorAt(0, QColor(40, 90, 160));
    glaze.setColorAt(0.35, QColor(110, 170, 230));
    glaze.setColorAt(1, QColor(30, 70, 130));
    p.setBrush(glaze);
    p.drawPath(vase);
    return image;
}

QImage drawSunrise()
{
    QImage image = canvas(800, 600, QColor(40, 60, 140), QColor(255, 170, 90));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const QPointF sun(400, 380);
    // Rays, then the sun's glow and disc.
    p.setBrush(QColor(255, 230, 150, 60));
    for (int i = 0; i < 18; ++i) {
        const qreal a = M_PI + i * M_PI / 17;
        const qreal b = a + 0.06;
        QPolygonF ray { sun, sun + QPointF(std::cos(a), std::sin(a)) * 700, sun + QPointF(std::cos(b), std::sin(b)) * 700 };
        p.drawPolygon(ray);
    }
    QRadialGradient glow(sun, 200);
    glow.setColorAt(0, QColor(255, 240, 180, 220));
    glow.setColorAt(1, QColor(255, 200, 120, 0));
    p.setBrush(glow);
    p.drawEllipse(sun, 200, 200);
    p.setBrush(QColor(255, 220, 90));
    p.drawEllipse(sun, 80, 80);
    // Sea with bands of reflection, and two hills.
    QLinearGradient sea(0, 380, 0, 600);
    sea.setColorAt(0, QColor(240, 140, 90));
    sea.setColorAt(1, QColor(60, 60, 120));
    p.setBrush(sea);
    p.drawRect(0, 380, 800, 220);
    p.setBrush(QColor(255, 220, 120, 170));
    for (int i = 0; i < 8; ++i) {
        const qreal half = 70 - i * 7;
        p.drawRoundedRect(QRectF(400 - half, 392 + i * 22, half * 2, 6), 3, 3);
    }
    QPainterPath hills;
    hills.moveTo(0, 600);
    hills.lineTo(0, 420);
    hills.quadTo(120, 330, 260, 430);
    hills.quadTo(300, 470, 300, 600);
    hills.closeSubpath();
    hills.moveTo(800, 600);
    hills.lineTo(800, 400);
    hills.quadTo(680, 320, 560, 440);
    hills.quadTo(530, 480, 540, 600);
    hills.closeSubpath();
    p.setBrush(QColor(40, 30, 60));
    p.drawPath(hills);
    return image;
}

// A night sky over a town, `width` × `height`; sizes follow the height, so
// a wide banner gets more sky, not stretched stars.
QImage drawStarryNight(int width, int height)
{
    const qreal k = height / 600.0;
    QImage image = canvas(width, height, QColor(8, 12, 40), QColor(40, 50, 110));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    QRandomGenerator random(1948);
    const int dots = int(260.0 * width / 800.0);
    for (int i = 0; i < dots; ++i) {
        const int alpha = 90 + random.bounded(165);
        p.setBrush(QColor(255, 255, 230, alpha));
        const qreal r = (0.6 + random.bounded(1.6)) * std::max(k, 0.8);
        p.drawEllipse(QPointF(random.bounded(width), random.bounded(int(470 * k))), r, r);
    }
    p.setBrush(QColor(255, 240, 170));
    for (QPointF c : { QPointF(0.19, 0.18), QPointF(0.52, 0.12), QPointF(0.34, 0.38), QPointF(0.11, 0.53),
                       QPointF(0.63, 0.34), QPointF(0.93, 0.45) })
        p.drawPath(star(QPointF(c.x() * width, c.y() * height), 16 * k, 6.5 * k, 5));
    // A crescent moon: a disc with a sky-coloured disc over it.
    const QPointF moonAt(width * 0.8, 130 * k);
    QPainterPath moon;
    moon.addEllipse(moonAt, 62 * k, 62 * k);
    QPainterPath bite;
    bite.addEllipse(moonAt + QPointF(28 * k, -18 * k), 56 * k, 56 * k);
    p.setBrush(QColor(255, 245, 200));
    p.drawPath(moon.subtracted(bite));
    // A town's roofline with lit windows.
    p.setBrush(QColor(10, 10, 25));
    QPainterPath town;
    town.moveTo(0, height);
    qreal x = 0;
    QRandomGenerator roofs(77);
    QList<QRectF> windows;
    while (x < width) {
        const qreal w = (60 + roofs.bounded(70)) * k;
        const qreal top = (430 + roofs.bounded(90)) * k;
        town.lineTo(x, top);
        town.lineTo(x + w / 2, top - 30 * k);
        town.lineTo(x + w, top);
        for (qreal wy = top + 20 * k; wy < height - 20 * k; wy += 34 * k) {
            if (roofs.bounded(3) == 0)
                windows.append(QRectF(x + w / 2 - 8 * k, wy, 16 * k, 18 * k));
        }
        x += w;
    }
    town.lineTo(width, height);
    town.closeSubpath();
    p.drawPath(town);
    p.setBrush(QColor(255, 210, 110));
    for (const QRectF& w : windows)
        p.drawRect(w);
    return image;
}

// ---- program folder pictures ---------------------------------------------

QImage drawPlaceholder()
{
    QImage image(400, 300, QImage::Format_RGB32);
    image.fill(QColor(240, 238, 234));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(160, 156, 150), 3, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(12, 12, 376, 276), 14, 14);
    // A framed landscape as the picture sign.
    const QRectF frame(150, 60, 100, 76);
    p.setPen(QPen(QColor(140, 136, 130), 4));
    p.drawRoundedRect(frame, 6, 6);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(150, 146, 140));
    QPolygonF hills { QPointF(156, 130), QPointF(185, 96), QPointF(205, 116), QPointF(222, 100), QPointF(244, 130) };
    p.drawPolygon(hills);
    p.drawEllipse(QPointF(228, 80), 9, 9);
    // A plus sign: this is where a picture goes.
    p.setBrush(QColor(70, 130, 200));
    p.drawEllipse(QPointF(252, 140), 17, 17);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(244, 138, 16, 4));
    p.drawRect(QRectF(250, 132, 4, 16));
    p.setPen(QColor(90, 86, 80));
    QFont hebrew(QStringLiteral("Miriam CLM"));
    hebrew.setPixelSize(26);
    hebrew.setBold(true);
    p.setFont(hebrew);
    p.drawText(QRectF(20, 170, 360, 40), Qt::AlignCenter, QStringLiteral("לחצו להוספת תמונה"));
    QFont latin(QStringLiteral("Liberation Sans"));
    latin.setPixelSize(20);
    p.setFont(latin);
    p.drawText(QRectF(20, 212, 360, 36), Qt::AlignCenter, QStringLiteral("Click to add a picture"));
    return image;
}

QImage drawBeach()
{
    QImage image = canvas(640, 480, QColor(90, 170, 235), QColor(200, 235, 250));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 235, 140));
    p.drawEllipse(QPointF(520, 90), 46, 46);
    QLinearGradient sea(0, 250, 0, 340);
    sea.setColorAt(0, QColor(20, 110, 170));
    sea.setColorAt(1, QColor(60, 190, 200));
    p.setBrush(sea);
    p.drawRect(0, 250, 640, 100);
    p.setBrush(QColor(240, 215, 160));
    QPainterPath sand;
    sand.moveTo(0, 340);
    sand.quadTo(320, 300, 640, 345);
    sand.lineTo(640, 480);
    sand.lineTo(0, 480);
    sand.closeSubpath();
    p.drawPath(sand);
    // A striped umbrella and its pole.
    p.setBrush(QColor(120, 90, 60));
    p.drawRect(QRectF(218, 250, 6, 170));
    for (int i = 0; i < 6; ++i) {
        p.setBrush(i % 2 ? QColor(255, 255, 255) : QColor(230, 50, 60));
        p.drawPie(QRectF(120, 200, 200, 110), (i * 30) * 16, 30 * 16);
    }
    p.setBrush(QColor(250, 250, 250, 200));
    for (int i = 0; i < 5; ++i)
        p.drawRoundedRect(QRectF(40 + i * 130, 262 + (i % 2) * 30, 60, 4), 2, 2);
    return image;
}

QImage drawMountains()
{
    QImage image = canvas(640, 480, QColor(150, 200, 240), QColor(235, 245, 250));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const struct {
        QPolygonF shape;
        QColor colour;
    } ranges[] = {
        { QPolygonF { QPointF(0, 320), QPointF(140, 120), QPointF(260, 300), QPointF(380, 90), QPointF(540, 290),
                      QPointF(640, 180), QPointF(640, 480), QPointF(0, 480) },
          QColor(110, 130, 160) },
        { QPolygonF { QPointF(0, 360), QPointF(200, 230), QPointF(330, 340), QPointF(470, 220), QPointF(640, 350),
                      QPointF(640, 480), QPointF(0, 480) },
          QColor(70, 110, 90) },
    };
    for (const auto& range : ranges) {
        p.setBrush(range.colour);
        p.drawPolygon(range.shape);
    }
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF { QPointF(380, 90), QPointF(350, 140), QPointF(372, 132), QPointF(392, 146),
                              QPointF(412, 128) });
    p.drawPolygon(QPolygonF { QPointF(140, 120), QPointF(112, 160), QPointF(140, 150), QPointF(166, 158) });
    QLinearGradient lake(0, 380, 0, 480);
    lake.setColorAt(0, QColor(90, 150, 200));
    lake.setColorAt(1, QColor(40, 90, 140));
    p.setBrush(lake);
    p.drawEllipse(QRectF(-80, 390, 800, 160));
    // Pines along the shore.
    p.setBrush(QColor(30, 70, 50));
    for (int i = 0; i < 12; ++i) {
        const qreal x = 20 + i * 55;
        const qreal base = 395 - (i % 3) * 6;
        p.drawPolygon(QPolygonF { QPointF(x, base - 60), QPointF(x - 16, base), QPointF(x + 16, base) });
    }
    return image;
}

QImage drawCat()
{
    QImage image = canvas(640, 480, QColor(255, 236, 200), QColor(250, 210, 170));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const QColor fur(235, 150, 60);
    p.setBrush(fur);
    p.drawPolygon(QPolygonF { QPointF(200, 190), QPointF(220, 70), QPointF(290, 150) });
    p.drawPolygon(QPolygonF { QPointF(440, 190), QPointF(420, 70), QPointF(350, 150) });
    p.drawEllipse(QPointF(320, 250), 150, 130);
    p.setBrush(QColor(255, 190, 190));
    p.drawPolygon(QPolygonF { QPointF(222, 170), QPointF(230, 100), QPointF(268, 150) });
    p.drawPolygon(QPolygonF { QPointF(418, 170), QPointF(410, 100), QPointF(372, 150) });
    p.setBrush(QColor(250, 240, 225));
    p.drawEllipse(QPointF(320, 300), 80, 60);
    for (int side : { -1, 1 }) {
        p.setBrush(QColor(90, 170, 80));
        p.drawEllipse(QPointF(320 + side * 60, 230), 26, 30);
        p.setBrush(QColor(20, 20, 20));
        p.drawEllipse(QPointF(320 + side * 60, 232), 8, 22);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(320 + side * 60 - 6, 220), 5, 5);
    }
    p.setBrush(QColor(230, 110, 130));
    p.drawPolygon(QPolygonF { QPointF(305, 280), QPointF(335, 280), QPointF(320, 296) });
    p.setPen(QPen(QColor(90, 60, 40), 3, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(290, 290, 30, 26), 200 * 16, 140 * 16);
    p.drawArc(QRectF(320, 290, 30, 26), 200 * 16, 140 * 16);
    for (int side : { -1, 1 }) {
        for (int i = -1; i <= 1; ++i)
            p.drawLine(QPointF(320 + side * 70, 300 + i * 12), QPointF(320 + side * 170, 290 + i * 22));
    }
    return image;
}

// The middle of a picture in the proportions of a frame of `frameWidth` ×
// `frameHeight` (twips), as the picture editor's covering fit cuts it: a
// sample picture shown in that frame is not stretched.
QImage cutToFrame(const QImage& picture, int frameWidth, int frameHeight)
{
    const qreal aspect = qreal(frameWidth) / frameHeight;
    int w = picture.width(), h = qRound(w / aspect);
    if (h > picture.height()) {
        h = picture.height();
        w = qRound(h * aspect);
    }
    return picture.copy((picture.width() - w) / 2, (picture.height() - h) / 2, w, h);
}

bool save(const QImage& image, const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    const bool jpeg = path.endsWith(QStringLiteral(".jpg"));
    if (!image.save(path, jpeg ? "JPEG" : "PNG", jpeg ? kJpegQuality : -1)) {
        std::fprintf(stderr, "Error: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "Usage: nuvela-draw-pictures PICTURES_DIR DATA_DIR\n");
        return 2;
    }
    const QString pictures = QString::fromLocal8Bit(argv[1]);
    const QString data = QString::fromLocal8Bit(argv[2]);

    const Logo logos[] = {
        { "birthday_daily.png", QStringLiteral("The Birthday Daily"), QStringLiteral("All the news of your special day"), false },
        { "wedding_gazette.png", QStringLiteral("The Wedding Gazette"), QStringLiteral("Two hearts, one headline"), false },
        { "bar_mitzvah_herald.png", QStringLiteral("Bar Mitzvah Herald"), QStringLiteral("A special edition for a great day"), false },
        { "family_times.png", QStringLiteral("The Family Times"), QStringLiteral("News from home since forever"), false },
        { "lumen_post.png", QStringLiteral("The Lumen Post"), QStringLiteral("Bright news for bright days"), false },
        { "birthday_news_he.png", QStringLiteral("חדשות יום ההולדת"), QStringLiteral("כל החדשות של היום המיוחד שלך"), true },
        { "wedding_paper_he.png", QStringLiteral("עיתון החתונה"), QStringLiteral("שני לבבות, כותרת אחת"), true },
        { "bar_mitzvah_he.png", QStringLiteral("בשורת בר המצווה"), QStringLiteral("מהדורה מיוחדת ליום גדול"), true },
        { "family_times_he.png", QStringLiteral("זמני המשפחה"), QStringLiteral("חדשות מהבית, מאז ומעולם"), true },
    };
    bool ok = true;
    for (const Logo& logo : logos) {
        const QImage image = drawLogo(logo);
        if (!onlyLogoColours(image)) {
            std::fprintf(stderr, "Error: %s has colours besides blue, white and black\n", logo.file);
            return 1;
        }
        ok &= save(image, pictures + QStringLiteral("/logos/") + QLatin1StringView(logo.file));
    }
    ok &= save(drawBalloons(), pictures + QStringLiteral("/stock/balloons.jpg"));
    // The confetti banner and the night sky are drawn in the proportions of
    // the one frame that shows each (15638 × 1700 and 10840 × 4000 twips).
    ok &= save(drawConfetti(1380, 150), pictures + QStringLiteral("/stock/confetti.jpg"));
    ok &= save(drawCake(), pictures + QStringLiteral("/stock/cake.jpg"));
    ok &= save(drawFlowers(), pictures + QStringLiteral("/stock/flowers.jpg"));
    ok &= save(drawSunrise(), pictures + QStringLiteral("/stock/sunrise.png"));
    ok &= save(drawStarryNight(1084, 400), pictures + QStringLiteral("/stock/starry_night.jpg"));
    ok &= save(drawPlaceholder(), data + QStringLiteral("/nopic.png"));
    const QImage beach = drawBeach(), mountains = drawMountains(), cat = drawCat();
    ok &= save(beach, data + QStringLiteral("/temppic/sample_beach.jpg"));
    ok &= save(mountains, data + QStringLiteral("/temppic/sample_mountains.jpg"));
    ok &= save(cat, data + QStringLiteral("/temppic/sample_cat.jpg"));
    // The stored versions' pictures, cut to their frames as the picture
    // editor would have stored them (frame sizes in twips).
    const struct {
        const QImage& picture;
        int frameWidth, frameHeight;
        const char* file;
    } cuts[] = {
        { beach, 6400, 4500, "birthday_beach.jpg" },       { mountains, 6400, 4500, "birthday_mountains.jpg" },
        { beach, 4900, 3700, "wedding_beach.jpg" },        { mountains, 4900, 3700, "wedding_mountains.jpg" },
        { cat, 5700, 4200, "barmitzvah_cat.jpg" },         { beach, 5700, 4200, "barmitzvah_beach.jpg" },
        { mountains, 5700, 4200, "barmitzvah_mountains.jpg" },
        { beach, 7180, 4880, "family_beach.jpg" },         { cat, 7180, 4880, "family_cat.jpg" },
        { beach, 5300, 4800, "anniversary_beach.jpg" },
    };
    for (const auto& cut : cuts)
        ok &= save(cutToFrame(cut.picture, cut.frameWidth, cut.frameHeight),
                   data + QStringLiteral("/temppic/") + QLatin1StringView(cut.file));
    return ok ? 0 : 1;
}
