#include "windows/common/textvalue.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace nuvela {

namespace {

const QLocale& usEnglish()
{
    static const QLocale locale(QLocale::English, QLocale::UnitedStates);
    return locale;
}

// "&HFF", "&hff&", "&O17": the toolkit's radix prefixes, with its optional
// trailing type suffix "&".
std::optional<double> radixNumber(QStringView text)
{
    if (text.size() < 3 || text[0] != u'&')
        return std::nullopt;
    int base = 0;
    if (text[1] == u'H' || text[1] == u'h')
        base = 16;
    else if (text[1] == u'O' || text[1] == u'o')
        base = 8;
    else
        return std::nullopt;
    QStringView digits = text.mid(2);
    if (digits.endsWith(u'&'))
        digits.chop(1);
    if (digits.isEmpty() || digits.size() > (base == 16 ? 8 : 11))
        return std::nullopt;
    bool ok = false;
    const qulonglong number = digits.toULongLong(&ok, base);
    if (!ok || number > std::numeric_limits<quint32>::max())
        return std::nullopt;
    return double(number);
}

std::optional<double> numberFromText(QStringView raw)
{
    const QStringView text = raw.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    if (auto radix = radixNumber(text))
        return radix;
    bool ok = false;
    const double number = usEnglish().toDouble(text, &ok);
    if (!ok || !std::isfinite(number))
        return std::nullopt;
    return number;
}

bool isNumeric(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
        return true;
    default:
        return false;
    }
}

} // namespace

std::optional<double> numberFromValue(const QVariant& value)
{
    if (isNumeric(value))
        return value.toDouble();
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? -1.0 : 0.0; // the toolkit's True is -1
    if (value.typeId() == QMetaType::QString)
        return numberFromText(value.toString());
    return std::nullopt;
}

std::optional<int> wholeFromValue(const QVariant& value)
{
    const auto number = numberFromValue(value);
    if (!number)
        return std::nullopt;
    const double rounded = std::nearbyint(*number);
    if (rounded < double(std::numeric_limits<int>::min())
        || rounded > double(std::numeric_limits<int>::max()))
        return std::nullopt;
    return int(rounded);
}

std::optional<bool> booleanFromValue(const QVariant& value)
{
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString().trimmed();
        if (text.compare(u"True", Qt::CaseInsensitive) == 0)
            return true;
        if (text.compare(u"False", Qt::CaseInsensitive) == 0)
            return false;
    }
    if (const auto number = numberFromValue(value))
        return *number != 0.0;
    return std::nullopt;
}

QString textFromValue(const QVariant& value)
{
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    if (isNumeric(value))
        return QString::number(value.toDouble(), 'g', 15);
    return value.toString();
}

} // namespace nuvela
