#include "app/renderjob.h"

#include "render/drawpage.h"
#include "render/pagesetup.h"
#include "store/jpeg.h"
#include "store/numbers.h"
#include "store/outputfile.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QPdfWriter>

namespace nuvela {

QString renderUsage()
{
    return QStringLiteral(
        "Usage: nuvela-render [--program-dir DIR] --template NAME [--version N] [--scale S]\n"
        "                     [--quality Q] [--edition main|sibling] -o FILE\n"
        "Draws one page of a template and writes it as .png, .bmp, .jpg/.jpeg or .pdf\n"
        "(vector output: shapes and texts stay sharp at any size).\n"
        "  --program-dir DIR  the program folder (default: the user's own once nuvela has\n"
        "                     made it, else the bundled one)\n"
        "  --template NAME    a template name as listed in the gallery\n"
        "  --version N        the stored version whose texts are drawn (default 1)\n"
        "  --scale S          pixels per screen pixel (1 = 96 dpi, 3.125 = 300 dpi);\n"
        "                     (for .pdf: how finely positions are rounded)\n"
        "  --quality Q        JPEG quality 1-100 (default: the text store's, else 75)\n"
        "  --edition E        main or sibling (default: the program's own)\n"
        "  -o FILE            the picture to write\n"
        "   or: nuvela-render --check [--program-dir DIR] [TEMPLATE ...]\n"
        "Checks templates (all when none is named), the text store and the language\n"
        "files; prints every problem as file:line: message. Exit status 0 when clean,\n"
        "1 when problems were found, 2 when the check could not run.\n"
        "\n"
        "       nuvela-render --merge TABLE --template NAME [--jobs N] [--quiet] ... -o PATTERN\n"
        "One card per row of TABLE (CSV with a header row, or store sections): columns\n"
        "txtN (rows of text object N, \"~\" between them), picN (picture file), colN,\n"
        "cotarcolor and version replace the stored version's values; -o names the files\n"
        "with {column} and {row}, or is one .pdf with a page per row.\n"
        "  --jobs N           cards drawn side by side (default and most: one per core)\n"
        "  --quiet            no progress line\n"
        "Exit status: 0 every card made, 3 some rows skipped, 1 nothing made, 2 usage.\n");
}

QString defaultProgramDir(const QString& executableDir)
{
    for (const QString& candidate : {QStringLiteral("/../data"), QStringLiteral("/../share/nuvela")}) {
        const QString dir = QDir::cleanPath(executableDir + candidate);
        if (QFileInfo(dir + QStringLiteral("/templates")).isDir())
            return dir;
    }
    return QDir::cleanPath(executableDir + QStringLiteral("/../data"));
}

std::optional<RenderRequest> parseRenderArguments(const QStringList& args,
                                                  const QString& defaultDir,
                                                  Edition defaultEdition, QString* error,
                                                  bool* help)
{
    RenderRequest r;
    r.programDir = defaultDir;
    r.edition = defaultEdition;
    auto fail = [&](const QString& why) -> std::optional<RenderRequest> {
        *error = why;
        return std::nullopt;
    };
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == u"--help" || a == u"-h") {
            if (help)
                *help = true;
            return fail(renderUsage());
        }
        if (a == u"--quiet" || a == u"-q") {
            r.quiet = true;
            continue;
        }
        if (i + 1 >= args.size())
            return fail(QStringLiteral("%1 needs a value (see --help)").arg(a));
        const QString v = args[++i];
        if (a == u"--program-dir") {
            r.programDir = v;
        } else if (a == u"--template") {
            r.tavnit = v;
        } else if (a == u"--version") {
            const auto n = parseNumber(v);
            if (!n || *n != roundHalfEven(*n) || *n < 1 || *n > 1e6)
                return fail(QStringLiteral("--version wants a whole number from 1, not \"%1\"").arg(v));
            r.version = int(*n);
        } else if (a == u"--scale") {
            const auto s = parseNumber(v);
            if (!s || *s <= 0 || *s > 100)
                return fail(QStringLiteral("--scale wants a number above 0 (at most 100), not \"%1\"").arg(v));
            r.scale = *s;
        } else if (a == u"--quality") {
            const auto q = parseNumber(v);
            if (!q || *q != roundHalfEven(*q) || *q < 1 || *q > 100)
                return fail(QStringLiteral("--quality wants a whole number from 1 to 100, not \"%1\"").arg(v));
            r.quality = int(*q);
        } else if (a == u"--edition") {
            if (v == u"main")
                r.edition = Edition::Main;
            else if (v == u"sibling")
                r.edition = Edition::Sibling;
            else
                return fail(QStringLiteral("--edition is main or sibling, not \"%1\"").arg(v));
        } else if (a == u"--merge") {
            r.merge = v;
        } else if (a == u"--jobs") {
            const auto n = parseNumber(v);
            if (!n || *n != roundHalfEven(*n) || *n < 1 || *n > 256)
                return fail(QStringLiteral("--jobs wants a whole number from 1 to 256, not \"%1\"").arg(v));
            r.jobs = int(*n);
        } else if (a == u"-o" || a == u"--output") {
            r.output = v;
        } else {
            return fail(QStringLiteral("unknown option %1 (see --help)").arg(a));
        }
    }
    if (r.tavnit.isEmpty())
        return fail(QStringLiteral("--template NAME is missing (see --help)"));
    if (r.output.isEmpty())
        return fail(QStringLiteral("-o FILE is missing (see --help)"));
    return r;
}

namespace {

/// Writes a finished PDF document in one piece, replacing the target only
/// when everything was written.
QString savePdf(const QByteArray& document, const QString& path)
{
    return writeOutputFile(path, document).error;
}

} // namespace

OutputFormat outputFormatOf(const QString& path)
{
    const QString ext = QFileInfo(path).suffix().toLower();
    if (ext == u"png")
        return OutputFormat::Png;
    if (ext == u"bmp")
        return OutputFormat::Bmp;
    if (ext == u"jpg" || ext == u"jpeg")
        return OutputFormat::Jpeg;
    if (ext == u"pdf")
        return OutputFormat::Pdf;
    return OutputFormat::Unknown;
}

QString writePicture(const Surface& canvas, OutputFormat format, const QString& path, int quality)
{
    switch (format) {
    case OutputFormat::Png:
        return savePng(canvas.image(), path).error;
    case OutputFormat::Bmp:
        return saveBmp(canvas.image(), path).error;
    case OutputFormat::Jpeg:
        return saveJpeg(canvas.image(), path, quality).error;
    case OutputFormat::Pdf:
    case OutputFormat::Unknown:
        break;
    }
    return QStringLiteral("Cannot write \"%1\" as a picture.").arg(path);
}

void preparePdfWriter(QPdfWriter& writer, const QString& title)
{
    writer.setTitle(title);
    writer.setCreator(QStringLiteral(NUVELA_TITLE));
    // Fine enough that pixel-aligned boxes and lines land where the screen
    // puts them at any scale.
    writer.setResolution(1440);
}

QString runRender(const RenderRequest& request)
{
    const OutputFormat format = outputFormatOf(request.output);
    if (format == OutputFormat::Unknown)
        return QStringLiteral("cannot tell the picture format of \"%1\"; use .png, .bmp, .jpg, .jpeg or .pdf")
            .arg(request.output);
    // Refused before the page is drawn, not after all that work.
    const OutputKind place = examineOutput(request.output).kind;
    if (place == OutputKind::NotRegular || place == OutputKind::ReadOnly)
        return writeOutputFile(request.output, QByteArray()).error;

    PageState state;
    KeyStore store(request.programDir, state);
    // One page from the files as they were when it began, without a look at
    // the disk for every key.
    store.files().holdFilesAsRead();
    PageSetup setup(store, state, request.edition);
    if (QString why = setup.openTemplate(request.tavnit); !why.isEmpty())
        return why;
    if (QString why = setup.chooseVersion(request.version); !why.isEmpty())
        return why;

    // The writer outlives the canvas: on every return, also an early one,
    // the canvas finishes its PDF painter while the writer is still there.
    QBuffer pdf;
    std::optional<QPdfWriter> writer;
    Surface canvas(request.scale);
    if (format == OutputFormat::Pdf) {
        pdf.open(QIODevice::WriteOnly);
        writer.emplace(&pdf);
        preparePdfWriter(*writer, request.tavnit);
        canvas.setVectorTarget(&*writer);
    }
    PageContext page = setup.context(canvas);
    const PageOutcome outcome = DrawPage(page);
    if (outcome.end != PageEnd::Complete)
        return outcome.error;

    if (format == OutputFormat::Pdf) {
        if (!canvas.endVector() || canvas.vectorCleared() || pdf.data().isEmpty())
            return QStringLiteral("Cannot draw the page as a PDF document.");
        return savePdf(pdf.data(), request.output);
    }
    return writePicture(canvas, format, request.output, request.quality.value_or(jpegQuality(store)));
}

} // namespace nuvela
