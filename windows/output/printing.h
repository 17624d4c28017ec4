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

/// Prints the page on one sheet of printer. Returns "" or why it could not.
QString printPage(const QImage& page, QPrinter& printer);

} // namespace nuvela
