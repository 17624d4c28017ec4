#include "store/numbers.h"

#include <cmath>
#include <limits>

namespace nuvela {

namespace {
// Bigger than any coordinate, size or count a page can hold, small enough
// that every product the drawers form stays exact and finite.
constexpr double kNumberLimit = 1e15;
} // namespace

double roundHalfEven(double value)
{
    if (!std::isfinite(value))
        return value;
    return std::nearbyint(value); // the default rounding mode is to-nearest-even
}

std::optional<double> parseNumber(QStringView text)
{
    const QStringView t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    if (t.size() > 2 && (t.startsWith(u"&H") || t.startsWith(u"&h"))) {
        bool ok = false;
        const qulonglong v = t.mid(2).toULongLong(&ok, 16);
        if (!ok || v > 0xFFFFFFFFull)
            return std::nullopt;
        return double(v);
    }
    // Decimal with an optional sign, fraction and exponent; nothing else
    // (QString::toDouble alone would also take "inf" and "nan").
    for (QChar c : t) {
        if (!(c.isDigit() && c.unicode() < 128) && c != u'.' && c != u'-' && c != u'+' && c != u'e'
            && c != u'E')
            return std::nullopt;
    }
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v) || std::fabs(v) > kNumberLimit)
        return std::nullopt;
    return v;
}

std::optional<std::int32_t> parseWhole(QStringView text)
{
    const auto v = parseNumber(text);
    if (!v)
        return std::nullopt;
    const double r = roundHalfEven(*v);
    if (r < double(std::numeric_limits<std::int32_t>::min())
        || r > double(std::numeric_limits<std::int32_t>::max()))
        return std::nullopt;
    return std::int32_t(r);
}

std::optional<std::uint32_t> parseColour(QStringView text)
{
    const auto v = parseNumber(text);
    if (!v)
        return std::nullopt;
    const double r = roundHalfEven(*v);
    if (r < 0 || r > double(0xFFFFFF))
        return std::nullopt;
    return std::uint32_t(r);
}

Fields::Fields(QStringView text, QChar separator)
{
    for (QStringView part : text.split(separator))
        fields_.append(part.toString());
}

std::optional<Fields::Box> Fields::box() const
{
    const auto x = number(0), y = number(1), w = number(2), h = number(3);
    if (!x || !y || !w || !h)
        return std::nullopt;
    return Box{*x, *y, *w, *h};
}

} // namespace nuvela
