#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

namespace test {

// exitCode is -1 when the process crashed or hung.
struct Run { int exitCode = -1; QString out, err; };

/// Runs nuvela-render without any environment, as a cron job would; with
/// a limit, under that much address space (KiB, as `ulimit -v` takes it).
Run runRenderer(const QStringList& args, long addressSpaceKiB = 0);

/// The pages of a PDF file rasterised at 96 dpi, as PNG files beside it.
QList<QImage> pdfPages(const QString& pdf);

} // namespace test
