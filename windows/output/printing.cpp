#include "windows/output/printing.h"

#include "store/fit.h"

#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace nuvela {

QRectF printPlacement(QSizeF page, const QRectF& printable)
{
    // The same fit as on screen, so that paper shows what the preview showed.
    const FitResult f = fitPage(float(printable.height()), float(printable.width()), float(page.height()),
                                float(page.width()));
    if (!(f.width > 0) || !(f.height > 0))
        return {};
    return QRectF(printable.left() + f.x, printable.top() + f.y, f.width, f.height);
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
