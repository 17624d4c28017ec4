#pragma once

#include <QImage>
#include <QRectF>
#include <QSizeF>
#include <QString>

class QPrinter;

namespace nuvela {

/// Where a page lands on a printer's printable area: as large as fits
/// without distortion (enlarged as well as reduced) and centred.
QRectF printPlacement(QSizeF page, const QRectF& printable);

/// How many times finer than the screen's canvas the page is drawn for a
/// printer: as many pixels as the printed size holds at the printer's
/// resolution, but no finer than finestDpi on paper.
double printScale(QSizeF page, const QRectF& printable, double printerDpi, double finestDpi);

/// Prints the page on one sheet of printer. Returns "" or why it could not.
QString printPage(const QImage& page, QPrinter& printer);

} // namespace nuvela
