// nuvela-rejustify [--check] PROGRAM_DIR
// For template authors and for the sample program folder: wraps and
// justifies every stored paragraph text (the "txt" of a text object whose
// first row is "full") again, in the paragraph's font and box width, as the
// text editor stores it when the user opens the paragraph and applies it.
// Run it after changing a paragraph's font, size or box, or after writing
// sample texts by hand. Only the rewritten values change; the text store is
// replaced in one step. --check only lists what would change (exit 1), and
// how full each paragraph's box and its last line are.

#include "store/ansi.h"
#include "store/inidocument.h"
#include "store/numbers.h"
#include "store/templates.h"
#include "text/paragraph.h"
#include "text/rowfont.h"
#include "text/rowmodel.h"

#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QSaveFile>
#include <QTextLayout>

#include <cstdio>

using namespace nuvela;

namespace {

constexpr double kTwipsPerPixel = 15.0; // the editor's box is at screen size
constexpr int kMaxObjects = 50;
constexpr int kMaxVersions = 10;

std::optional<IniDocument> readDocument(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return IniDocument(file.readAll());
}

/// The editor's paragraph box: the font at the page's own size, its width
/// in pixels, word wrap in the page's direction.
struct ParagraphBox {
    QFont font;
    int width = 0;
    double widthTwips = 0;
    int lineLimit = 1;
    QTextOption option;

    ParagraphBox(const RowFormat& format, double w, double h, bool rtl)
        : font(RowFont{format.face, int(roundHalfEven(format.size * 20 / kTwipsPerPixel)), 0, format.bold}.toQFont())
        , width(qRound(w / kTwipsPerPixel))
        , widthTwips(w)
        , lineLimit(paragraphLineLimit(h, QFontMetricsF(font).height() * kTwipsPerPixel))
    {
        option.setTextDirection(rtl ? Qt::RightToLeft : Qt::LeftToRight);
        option.setAlignment((rtl ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignAbsolute);
        option.setWrapMode(QTextOption::WordWrap);
    }

    QList<VisualLine> lines(const QString& plain) const
    {
        QList<VisualLine> out;
        const QStringList blocks = plain.split(u'\n');
        for (qsizetype b = 0; b < blocks.size(); ++b) {
            const bool more = b + 1 < blocks.size();
            QTextLayout layout(blocks[b], font);
            layout.setTextOption(option);
            layout.beginLayout();
            QList<VisualLine> block;
            for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
                line.setLineWidth(width);
                block.append({blocks[b].mid(line.textStart(), line.textLength()), false});
            }
            layout.endLayout();
            if (block.isEmpty())
                block.append({QString(), false});
            block.last().endsParagraph = more;
            out += block;
        }
        return out;
    }

    struct Result {
        QString stored;    ///< with paragraph ends as the text store keeps them ("~")
        qsizetype lines;   ///< lines the box shows
        int lastLineFill;  ///< the last line's width, in percent of the box's
    };

    /// The stored form the editor gives the stored text.
    Result rejustify(const QString& stored) const
    {
        const QString plain = paragraphFromStored(stored, [this](const QString& t) { return fitsOnOneLine(t, font, option, width); });
        const QList<VisualLine> shown = lines(withoutRowMarks(plain));
        QString out = WrapAndJustify(shown, lineLimit, widthTwips, [this](const QString& t) {
            return QFontMetricsF(font).horizontalAdvance(t) * kTwipsPerPixel;
        });
        out.replace(QStringLiteral("\r\n"), QStringLiteral("~"));
        const QString last = shown.isEmpty() ? QString() : shown.last().text.trimmed();
        return {out, shown.size(), qRound(100 * QFontMetricsF(font).horizontalAdvance(last) / width)};
    }
};

} // namespace

int main(int argc, char** argv)
{
    // Fonts are measured, nothing is shown: no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool check = args.removeAll(QStringLiteral("--check")) > 0;
    if (args.size() != 1) {
        std::fprintf(stderr, "Usage: nuvela-rejustify [--check] PROGRAM_DIR\n");
        return 2;
    }
    const QDir dir(args[0]);
    const QString storePath = dir.filePath(QStringLiteral("templates/textdata.txt"));
    std::optional<IniDocument> store = readDocument(storePath);
    if (!store) {
        std::fprintf(stderr, "Error: cannot read %s\n", qPrintable(storePath));
        return 2;
    }
    int changed = 0;
    for (const QString& name : listTemplates(dir.path())) {
        const auto tavnit = readDocument(dir.filePath(QStringLiteral("templates/%1.ini").arg(name)));
        if (!tavnit)
            continue;
        const QString id = tavnit->value(u"templateid", u"id").value_or(QString());
        const bool rtl = tavnit->value(u"paper", u"align").value_or(QString()).compare(u"ltr", Qt::CaseInsensitive) != 0;
        for (int n = 1; n <= kMaxObjects; ++n) {
            const QString object = QStringLiteral("object%1").arg(n);
            const auto definition = RowDefinition::parse(tavnit->value(object, u"shura1").value_or(QString()));
            const auto dims = tavnit->value(object, u"objdim").value_or(QString()).split(u',');
            if (!definition || !definition->isParagraph() || dims.size() < 4)
                continue;
            for (int v = 1; v <= kMaxVersions; ++v) {
                const QString section = versionSection(id, v);
                const auto text = store->value(section, QStringLiteral("txt%1").arg(n));
                if (!text)
                    continue;
                // A stored format of the paragraph's row wins over the template's.
                const QString formats = store->value(section, QStringLiteral("col%1").arg(n)).value_or(QString());
                const RowFormat format = RowFormat::parse(formats.section(u'~', 0, 0)).value_or(definition->format);
                const ParagraphBox box(format, dims[2].toDouble(), dims[3].toDouble(), rtl);
                // A text typed by hand settles after a pass or two (a space
                // left before a paragraph's end goes on the next).
                ParagraphBox::Result result = box.rejustify(*text);
                for (int pass = 0; pass < 3; ++pass) {
                    ParagraphBox::Result again = box.rejustify(result.stored);
                    if (again.stored == result.stored)
                        break;
                    result = again;
                }
                const auto& [out, lines, fill] = result;
                if (lines > box.lineLimit || check)
                    std::printf("%s version %d, object %d: %lld of %d lines, the last %d%% full\n", qPrintable(name), v,
                                n, static_cast<long long>(lines), box.lineLimit, fill);
                if (out == *text)
                    continue;
                ++changed;
                std::printf("%s version %d, object %d: rejustified\n", qPrintable(name), v, n);
                if (!check && !store->setValue(section, QStringLiteral("txt%1").arg(n), out)) {
                    std::fprintf(stderr, "Error: %s version %d, object %d cannot be stored in Windows-1255\n",
                                 qPrintable(name), v, n);
                    return 1;
                }
            }
        }
    }
    if (check || changed == 0)
        return check && changed ? 1 : 0;
    QSaveFile out(storePath);
    if (!out.open(QIODevice::WriteOnly) || out.write(store->bytes()) != store->bytes().size() || !out.commit()) {
        std::fprintf(stderr, "Error: cannot write %s: %s\n", qPrintable(storePath), qPrintable(out.errorString()));
        return 1;
    }
    return 0;
}
