#include "windows/common/focusring.h"

#include <QPainter>
#include <QWidget>

namespace nuvela {

void paintFocusRing(QWidget& widget)
{
    QPainter painter(&widget);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor ring = widget.palette().color(QPalette::Active, QPalette::Highlight);
    ring.setAlpha(220);
    painter.setPen(QPen(ring, 2.0));
    painter.drawRoundedRect(QRectF(widget.rect()).adjusted(1, 1, -1, -1), 4, 4);
}

} // namespace nuvela
