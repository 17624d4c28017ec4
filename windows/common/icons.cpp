#include "windows/common/icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <utility>

namespace nuvela {

namespace {
// Drawn on a 64-pixel grid; the button scales the picture to its room.
constexpr int kGrid = 64;
const QColor kInk(0x1f, 0x3b, 0x73);
} // namespace

QIcon glyphIcon(Glyph glyph)
{
    QPixmap pixmap(kGrid, kGrid);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kInk, 5.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath path;
    switch (glyph) {
    case Glyph::Home:
        path.moveTo(10, 32);
        path.lineTo(32, 12);
        path.lineTo(54, 32);
        path.moveTo(18, 28);
        path.lineTo(18, 54);
        path.lineTo(46, 54);
        path.lineTo(46, 28);
        break;
    case Glyph::Back:
    case Glyph::Edit:
        path.moveTo(52, 32);
        path.lineTo(12, 32);
        path.moveTo(28, 16);
        path.lineTo(12, 32);
        path.lineTo(28, 48);
        break;
    case Glyph::Forward:
        path.moveTo(12, 32);
        path.lineTo(52, 32);
        path.moveTo(36, 16);
        path.lineTo(52, 32);
        path.lineTo(36, 48);
        break;
    case Glyph::Help:
        path.moveTo(20, 22);
        path.cubicTo(20, 8, 44, 8, 44, 22);
        path.cubicTo(44, 32, 32, 32, 32, 42);
        p.drawPath(path);
        p.setBrush(kInk);
        p.drawEllipse(QPointF(32, 53), 2.5, 2.5);
        return QIcon(pixmap);
    case Glyph::Save: // an arrow down into a tray
        path.moveTo(32, 10);
        path.lineTo(32, 40);
        path.moveTo(20, 28);
        path.lineTo(32, 40);
        path.lineTo(44, 28);
        path.moveTo(12, 40);
        path.lineTo(12, 54);
        path.lineTo(52, 54);
        path.lineTo(52, 40);
        break;
    case Glyph::Print: // a printer with its sheet
        path.addRoundedRect(QRectF(10, 26, 44, 20), 4, 4);
        path.moveTo(20, 26);
        path.lineTo(20, 10);
        path.lineTo(44, 10);
        path.lineTo(44, 26);
        path.moveTo(20, 40);
        path.lineTo(20, 56);
        path.lineTo(44, 56);
        path.lineTo(44, 40);
        break;
    case Glyph::Exit: // a door left through
        path.moveTo(36, 12);
        path.lineTo(14, 12);
        path.lineTo(14, 52);
        path.lineTo(36, 52);
        path.moveTo(28, 32);
        path.lineTo(54, 32);
        path.moveTo(44, 22);
        path.lineTo(54, 32);
        path.lineTo(44, 42);
        break;
    case Glyph::Picture: // a framed landscape
        path.addRoundedRect(QRectF(8, 14, 48, 36), 4, 4);
        path.moveTo(14, 44);
        path.lineTo(28, 28);
        path.lineTo(38, 38);
        path.lineTo(44, 32);
        path.lineTo(52, 42);
        break;
    case Glyph::Options: // three sliders, each with its knob
        for (const auto& [y, knob] : {std::pair{16, 40}, std::pair{32, 22}, std::pair{48, 34}}) {
            path.moveTo(10, y);
            path.lineTo(54, y);
            path.addEllipse(QPointF(knob, y), 5, 5);
        }
        p.setBrush(Qt::white);
        break;
    }
    p.drawPath(path);
    return QIcon(pixmap);
}

} // namespace nuvela
