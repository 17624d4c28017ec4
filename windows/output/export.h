#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace nuvela {

class Program;

/// Resolutions offered for saved pictures, in dots per inch; 96 is the
/// screen's, the full-size canvas itself.
inline constexpr int kScreenDpi = 96;
inline constexpr int kExportDpis[] = {kScreenDpi, 150, 300};
/// Printing draws at the printer's resolution, but not finer than this: a
/// sheet at 600 dpi is as sharp as paper shows and still fits in memory.
inline constexpr double kFinestPrintDpi = 600;

/// The page on screen (its template, version and unsaved changes) drawn
/// again at scale × the screen's resolution; the canvas itself at scale 1.
/// A null image and error set when it cannot be drawn.
QImage drawPageAt(Program& program, double scale, QString* error);

/// The page on screen as a PDF document of its own paper size: shapes as
/// paths, rows as text in embedded fonts. Empty and error set on failure.
QByteArray drawPagePdf(Program& program, QString* error);

/// The resolution chosen for saved pictures ([interface] savedpi), one of
/// kExportDpis; the screen's when unset or unknown.
int savedDpi(Program& program);
/// Remembers it; returns the store's complaint, "" when written.
QString rememberDpi(Program& program, int dpi);

} // namespace nuvela
