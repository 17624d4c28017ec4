#include "text/paragraph.h"

#include <QRegularExpression>
#include <QStringList>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace nuvela {

namespace {
const QString kLineEnd = QStringLiteral("~");
const QString kParagraphEnd = QStringLiteral("\r\n");

QString trimSpaces(const QString& text)
{
    qsizetype from = 0, to = text.size();
    while (from < to && text[from] == u' ')
        ++from;
    while (to > from && text[to - 1] == u' ')
        --to;
    return text.mid(from, to - from);
}
} // namespace

QString JustifyLine(const QString& line, double width, const MeasureText& measure)
{
    const QStringList words = line.split(u' ', Qt::SkipEmptyParts);
    if (words.size() < 2)
        return line;
    const qsizetype gaps = words.size() - 1;
    const double space = measure(QStringLiteral(" "));
    if (!(space > 0))
        return words.join(u' ');

    // Spaces per gap: what the room left by the words allows, but never
    // fewer than one, so words stay apart even when they overfill the line.
    const double room = width - measure(words.join(QString()));
    const double perGap = std::trunc(room / double(gaps));
    const qsizetype n = std::max<qsizetype>(1, qsizetype(std::clamp(std::trunc(perGap / space), 0.0, 1e6)));

    const auto joined = [&](qsizetype extra) {
        QString out = words.first();
        for (qsizetype g = 0; g < gaps; ++g)
            out += QString(n + (g < extra ? 1 : 0), u' ') + words[g + 1];
        return out;
    };
    QString candidate = joined(0);
    const double left = width - measure(candidate);
    if (left > space) {
        // One more space in each of the first gaps, at most one per gap.
        const qsizetype extra = std::clamp<qsizetype>(qsizetype(std::trunc(left / space)), 0, gaps);
        candidate = joined(extra);
    }
    return candidate;
}

QString WrapAndJustify(const QList<VisualLine>& lines, int lineLimit, double width,
                       const MeasureText& measure)
{
    QString out;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const bool beyond = i >= lineLimit;
        const QString text = beyond ? QString() : lines[i].text;
        if (!beyond && lines[i].endsParagraph)
            out += text + kParagraphEnd;
        else
            out += JustifyLine(trimSpaces(text), width, measure) + kLineEnd;
    }
    return out;
}

int paragraphLineLimit(double boxHeight, double lineHeight)
{
    if (!(lineHeight > 0) || !(boxHeight > 0))
        return 1;
    return int(std::clamp(std::trunc(boxHeight / lineHeight), 1.0, 10000.0));
}

QString collapseSpaces(const QString& text)
{
    static const QRegularExpression runs(QStringLiteral(" {2,}"));
    QString out = text;
    out.replace(runs, QStringLiteral(" "));
    return out;
}

bool fitsOnOneLine(const QString& text, const QFont& font, const QTextOption& option, int width)
{
    QTextLayout layout(text, font);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(width);
    layout.endLayout();
    return line.textLength() >= text.size();
}

QString paragraphFromStored(const QString& stored, const std::function<bool(const QString&)>& fitsOnOneLine)
{
    QStringList paragraphs;
    for (const QString& paragraph : stored.split(kParagraphEnd)) {
        QStringList lines = paragraph.split(kLineEnd);
        // The text's last line ends with "~", and lines beyond the limit
        // leave empty ones: neither is a line the user typed.
        while (lines.size() > 1 && trimSpaces(lines.last()).isEmpty())
            lines.removeLast();
        QString plain;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const QString line = trimSpaces(collapseSpaces(lines[i]));
            plain += line;
            if (i + 1 == lines.size())
                break;
            const QString next = trimSpaces(collapseSpaces(lines[i + 1]));
            const QString firstWord = next.section(u' ', 0, 0);
            const bool wouldFit = fitsOnOneLine(line + u' ' + firstWord);
            plain += wouldFit ? QStringLiteral("\n") : QStringLiteral(" ");
        }
        paragraphs << plain;
    }
    while (paragraphs.size() > 1 && paragraphs.last().isEmpty())
        paragraphs.removeLast();
    return paragraphs.join(u'\n');
}

} // namespace nuvela
