// ret-gallery: a grid of Retainer panels showing what the properties do.
//   ret-gallery                     shows the window
//   ret-gallery --screenshot FILE   shows it, saves a PNG picture of it, ends

#include "ret/propertybag.h"
#include "ret/retainer.h"

#include <QApplication>
#include <QComboBox>
#include <QCommandLineParser>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QSaveFile>
#include <QScreen>
#include <QSlider>
#include <QSpinBox>
#include <QTimer>
#include <QWindow>

#include <cmath>
#include <cstdio>

namespace {

struct Sample {
    const char* state; ///< the panel's saved state, as a window would hold it
    const char* note;  ///< what the panel shows
    bool icon = false;
};

// Colours are 0x00BBGGRR in decimal, as panels keep them.
const Sample kSamples[] = {
    {"Caption = \"Defaults\"\nIconSize = 0\n",
     "Background and header at 180°,\nmiddle-out."},
    {"Caption = \"Vertical lines\"\nBackAngle = 90\nBackMiddleOut = 0\nHeaderAngle = 90\n"
     "HeaderMiddleOut = 0\n",
     "Background and header at 90°:\nfirst colour at the left."},
    {"Caption = \"Slanted 30°\"\nBackAngle = 30\nBackMiddleOut = 0\nBackColor1 = 14348031\n"
     "BackColor2 = 3375308\nHeaderColor1 = 12440319\nHeaderColor2 = 15134207\n"
     "BorderColor = 9159423\nCaptionColor = 1055338\n",
     "Background at 30°, warm colours."},
    {"Caption = \"Middle-out 45°\"\nBackAngle = 45\nBackColor1 = 14546128\nBackColor2 = 5613370\n"
     "HeaderColor1 = 12047808\nHeaderColor2 = 14942184\nBorderColor = 9360528\n"
     "CaptionColor = 2837545\n",
     "Background at 45°, middle-out:\nlight in the middle."},
    {"Caption = \"Centred caption\"\nCaptionAlignment = 2\nHeaderHeight = 32\n",
     "Caption centred in a 32-pixel\nheader with a larger font."},
    {"Caption = \"כותרת מימין\"\nCaptionAlignment = 1\nBackAngle = 270\nBackMiddleOut = 0\n",
     "Caption at the right; background\nat 270°: first colour at the right."},
    {"Caption = \"Icon scaled to header\"\nIconSize = 1\nHeaderHeight = 28\n",
     "Icon scaled to the header;\nthe caption moves past it.", true},
    {"Caption = \"Icon at own size\"\nIconSize = 0\nHeaderAngle = 0\nHeaderMiddleOut = 0\n",
     "16-pixel icon at its own size;\nheader at 0°.", true},
    {"Caption = \"Curvature 30, border 3\"\nCurvature = 30\nBorderThickness = 3\n"
     "BorderColor = 9131605\n",
     "Rounder corners and a\nthree-pixel border ring."},
    {"Caption = \"Square, no border\"\nCurvature = 0\nBorderThickness = 0\nBackAngle = 0\n",
     "No ring, square corners;\nbackground at 0°."},
    {"HeaderVisible = 0\nCurvature = 16\nBackAngle = 135\nBackMiddleOut = 0\n",
     "No header; background at 135°."},
    {"Caption = \"Options\"\nHeaderAngle = 175\nHeaderMiddleOut = 0\nCurvature = 14\n"
     "BorderThickness = 2\n",
     "Header at 175°: its lines\nreach into the body."},
};

QPixmap sampleIcon(int size)
{
    QPixmap icon(size, size);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0xF2, 0xA9, 0x00));
    p.setPen(QPen(QColor(0x8A, 0x4B, 0x08), size / 16.0 + 0.5));
    QPainterPath star;
    const QPointF c(size / 2.0, size / 2.0);
    for (int i = 0; i < 10; ++i) {
        const double r = (i % 2 ? 0.22 : 0.47) * size;
        const double a = M_PI / 2 + i * M_PI / 5;
        const QPointF pt(c.x() + r * std::cos(a), c.y() - r * std::sin(a));
        i == 0 ? star.moveTo(pt) : star.lineTo(pt);
    }
    star.closeSubpath();
    p.drawPath(star);
    return icon;
}

Retainer* makePanel(const Sample& sample, QWidget* parent)
{
    auto* panel = new Retainer(parent);
    QString error;
    auto bag = ret::TextPropertyBag::fromText(QString::fromUtf8(sample.state), &error);
    if (!bag || !panel->readProperties(*bag, &error))
        std::fprintf(stderr, "ret-gallery: %s\n", qPrintable(error));
    QFont font = parent->font();
    font.setBold(true);
    if (panel->headerHeight() > 30)
        font.setPointSizeF(font.pointSizeF() * 1.3);
    panel->setCaptionFont(font);
    if (sample.icon)
        panel->setHeaderIcon(sampleIcon(panel->iconSize() != 0 ? 64 : 16));

    auto* note = new QLabel(QString::fromUtf8(sample.note), panel);
    note->setStyleSheet(QStringLiteral("color: #1d2b45;"));
    const int top = panel->headerVisible() ? panel->headerHeight() + 8 : 12;
    note->move(14, top);
    note->adjustSize();

    const bool hasControls = !panel->headerVisible() || panel->caption() == u"Options";
    if (hasControls && panel->headerVisible()) {
        auto* combo = new QComboBox(panel);
        combo->addItems({QStringLiteral("עברית"), QStringLiteral("English")});
        combo->setGeometry(14, top + 40, 150, combo->sizeHint().height());
    } else if (hasControls) {
        auto* slider = new QSlider(Qt::Horizontal, panel);
        auto* number = new QSpinBox(panel);
        number->setRange(0, 100);
        slider->setRange(0, 100);
        QObject::connect(slider, &QSlider::valueChanged, number, &QSpinBox::setValue);
        QObject::connect(number, &QSpinBox::valueChanged, slider, &QSlider::setValue);
        number->setValue(85);
        slider->setGeometry(14, top + 40, 150, slider->sizeHint().height());
        number->setGeometry(174, top + 36, 60, number->sizeHint().height());
    }
    return panel;
}

bool saveScreenshot(QWidget& window, const QString& file, QString* error)
{
    QPixmap shot;
    if (QScreen* screen = window.screen())
        shot = screen->grabWindow(window.winId());
    if (shot.isNull() || shot.size() != window.size() * window.devicePixelRatio())
        shot = window.grab();
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || !shot.save(&out, "PNG") || !out.commit()) {
        *error = out.errorString();
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ret-gallery"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Shows Retainer panels with different settings."));
    parser.addHelpOption();
    const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                        QStringLiteral("Save a PNG picture of the window and end."),
                                        QStringLiteral("FILE"));
    parser.addOption(screenshot);
    parser.process(app);

    QWidget window;
    window.setWindowTitle(QStringLiteral("Retainer gallery"));
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, QColor(0xEE, 0xF1, 0xF6));
    window.setPalette(palette);
    window.setAutoFillBackground(true);
    auto* grid = new QGridLayout(&window);
    grid->setContentsMargins(18, 18, 18, 18);
    grid->setSpacing(16);
    constexpr int kColumns = 4;
    int n = 0;
    for (const Sample& sample : kSamples) {
        Retainer* panel = makePanel(sample, &window);
        panel->setMinimumSize(230, 150);
        grid->addWidget(panel, n / kColumns, n % kColumns);
        ++n;
    }
    window.resize(1040, 560);
    window.show();

    if (!parser.isSet(screenshot))
        return app.exec();

    const QString file = parser.value(screenshot);
    int status = 0;
    // Give the window system a moment to map and expose the window.
    QTimer::singleShot(500, &window, [&] {
        QString error;
        if (!saveScreenshot(window, file, &error)) {
            std::fprintf(stderr, "ret-gallery: cannot save %s: %s\n", qPrintable(file),
                         qPrintable(error));
            status = 1;
        }
        app.quit();
    });
    app.exec();
    return status;
}
