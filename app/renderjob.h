#pragma once

#include "store/edition.h"

#include <QString>
#include <QStringList>

#include <optional>

class QPdfWriter;

namespace nuvela {

/// What `nuvela-render` is asked to do.
struct RenderRequest {
    QString programDir;
    QString tavnit;          ///< template name, the file name without ".ini"
    int version = 1;
    double scale = 1;
    std::optional<int> quality; ///< overrides [interface] jpgcompress
    QString output;
    Edition edition = Edition::Main;
    QString merge;   ///< a table: one card per row (see runMerge)
    int jobs = 0;    ///< workers of a merge; 0 = one per core
    bool quiet = false; ///< no progress line
};

/// The picture formats nuvela-render writes, told by the file's extension.
enum class OutputFormat { Png, Bmp, Jpeg, Pdf, Unknown };
OutputFormat outputFormatOf(const QString& path);

class Surface;
/// Title, creator and the fine resolution every PDF of ours is written with.
void preparePdfWriter(QPdfWriter& writer, const QString& title);
/// Writes a drawn page as a PNG, bitmap or JPEG file; "" or why not.
QString writePicture(const Surface& canvas, OutputFormat format, const QString& path, int quality);

/// Parses the command line (without the program name). On a mistake returns
/// nothing and sets error; "--help" sets error to the usage text and help.
std::optional<RenderRequest> parseRenderArguments(const QStringList& args,
                                                  const QString& defaultProgramDir,
                                                  Edition defaultEdition, QString* error,
                                                  bool* help = nullptr);

QString renderUsage();

/// Draws the page and writes the output file. Returns "" on success, else the
/// reason; no output file is left behind on failure.
QString runRender(const RenderRequest& request);

/// The bundled program folder next to an executable in dir: the build's
/// staged copy (dir/../data) or an installed one (dir/../share/nuvela).
QString defaultProgramDir(const QString& executableDir);

} // namespace nuvela
