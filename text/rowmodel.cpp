#include "text/rowmodel.h"

#include "store/keystore.h"
#include "text/textrow.h"

namespace nuvela {

namespace {
// Field positions of a row definition; the first five are a row format.
enum RowField { Colour, Face, Size, Bold, Charset, Offset, Align, Angle };
constexpr qsizetype kFormatFields = 5;
constexpr qsizetype kDefinitionFields = 8;

QString numberText(double v)
{
    // Sizes and offsets are whole numbers in every stored file; keep them so.
    return v == roundHalfEven(v) ? QString::number(qint64(v)) : QString::number(v);
}
} // namespace

std::optional<RowFormat> RowFormat::parse(QStringView text)
{
    const Fields f(text);
    if (f.size() < kFormatFields)
        return std::nullopt;
    const auto colour = parseColour(f[Colour]);
    const auto size = f.number(Size);
    const auto charset = parseWhole(f[Charset]);
    if (!colour || !size || !charset)
        return std::nullopt;
    return RowFormat{*colour, f[Face], *size, isTrueText(f[Bold]), *charset};
}

QString RowFormat::toString() const
{
    return QStringLiteral("%1,%2,%3,%4,%5")
        .arg(colour)
        .arg(face, numberText(size), bold ? QStringLiteral("True") : QStringLiteral("False"))
        .arg(charset);
}

bool hasFormatFields(QStringView entry) { return Fields(entry).size() >= kFormatFields; }

std::optional<RowDefinition> RowDefinition::parse(QStringView text)
{
    const Fields f(text);
    const auto format = RowFormat::parse(text);
    const auto offset = f.number(Offset);
    const auto angle = f.number(Angle);
    if (f.size() < kDefinitionFields || !format || !offset || !angle)
        return std::nullopt;
    return RowDefinition{*format, *offset, f[Align], *angle};
}

QString RowDefinition::toString() const
{
    return QStringLiteral("%1,%2,%3,%4").arg(format.toString(), numberText(offset), align, numberText(angle));
}

QString withoutRowMarks(QString text)
{
    text.replace(u'~', u'-');
    return text;
}

QString asOneRow(QString text)
{
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    return withoutRowMarks(std::move(text));
}

QStringList splitRows(const QString& stored) { return stored.split(u'~'); }

QString joinRows(const QStringList& rows) { return rows.join(u'~'); }

std::optional<RowFormat> TextObjectRows::format(int k) const
{
    if (k < 0 || k >= formatTexts.size())
        return std::nullopt;
    return RowFormat::parse(formatTexts[k]);
}

QList<QString> readRowDefinitions(KeyStore& store, int n, int maxRows)
{
    QList<QString> texts;
    const QString section = QStringLiteral("object%1").arg(n);
    for (int k = 1; k <= maxRows; ++k) {
        QString text = store.get(StoreMode::Get, section, QStringLiteral("shura%1").arg(k));
        if (text == kFailed)
            break;
        texts.append(std::move(text));
    }
    return texts;
}

TextObjectRows completeRows(const QList<QString>& definitionTexts, const QString& storedFormats)
{
    TextObjectRows rows;
    const QStringList stored = storedFormats.split(u'~');
    for (qsizetype k = 0; k < definitionTexts.size(); ++k) {
        rows.definitionTexts.append(definitionTexts[k]);
        rows.definitions.append(RowDefinition::parse(definitionTexts[k]));
        const bool own = k < stored.size() && hasFormatFields(stored[k]);
        rows.formatTexts.append(own ? stored[k] : definitionTexts[k]);
        rows.completedFromDefinitions = rows.completedFromDefinitions || !own;
    }
    return rows;
}

} // namespace nuvela
