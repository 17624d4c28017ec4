#include "windows/output/printing.h"

#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace nuvela {

QRectF printPlacement(QSizeF page, const QRectF& printable)
{
    if (!(page.width() > 0) || !(page.height() > 0) || !(printable.width() > 0) || !(printable.height() > 0))
        return {};
    const float r = float(page.height() / page.width());
    const float q = float(printable.height() / printable.width());
    float w, h;
    if (r <= q) {
        w = float(printable.width());
        h = w * r;
    } else {
        h = float(printable.height());
        w = h / r;
    }
    const float x = float(printable.left()) + (float(printable.width()) - w) / 2;
    const float y = float(printable.top()) + (float(printable.height()) - h) / 2;
    return QRectF(x, y, w, h);
}

double printScale(QSizeF page, const QRectF& printable, double printerDpi, double finestDpi)
{
    const QRectF placed = printPlacement(page, printable);
    if (placed.isEmpty() || !(printerDpi > 0))
        return 1;
    return placed.width() / page.width() * std::min(1.0, finestDpi / printerDpi);
}

QString printPage(const QImage& page, QPrinter& printer)
{
    if (page.isNull())
        return QStringLiteral("There is no page to print yet.");
    QPainter painter;
    if (!painter.begin(&printer))
        return QStringLiteral("The printer \"%1\" could not start the job.").arg(printer.printerName());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    // The printable area in the painter's own device coordinates.
    const QRectF area(QPointF(0, 0), printer.pageLayout().paintRectPixels(printer.resolution()).size());
    painter.drawImage(printPlacement(page.size(), area), page);
    if (!painter.end())
        return QStringLiteral("The printer \"%1\" did not finish the job.").arg(printer.printerName());
    return {};
}

} // namespace nuvela
