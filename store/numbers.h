#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

namespace nuvela {

/// Rounds to the nearest integer, halves to the even neighbour (2.5 → 2,
/// 3.5 → 4), the rule for every number the formats turn into an integer.
double roundHalfEven(double value);

/// A decimal number as the store files write them ("1200", "-3.5", " 7 "),
/// or "&H" hexadecimal. std::nullopt for anything else, including the store's
/// "failed", an empty text, NaN, infinity and values beyond ±1e15 (no page
/// coordinate, size or count comes near that).
std::optional<double> parseNumber(QStringView text);

/// parseNumber rounded halves-to-even and within the 32-bit signed range.
std::optional<std::int32_t> parseWhole(QStringView text);

/// A colour number 0x00BBGGRR (decimal or "&H" hexadecimal). Values outside
/// 0 … 0xFFFFFF are not colours.
std::optional<std::uint32_t> parseColour(QStringView text);

/// Fields of a comma-separated value. Asking for a field beyond the last
/// gives an empty text, which no number parser accepts.
class Fields {
public:
    explicit Fields(QStringView text, QChar separator = u',');
    qsizetype size() const { return fields_.size(); }
    QString operator[](qsizetype i) const { return i >= 0 && i < fields_.size() ? fields_[i] : QString(); }
    std::optional<double> number(qsizetype i) const { return parseNumber((*this)[i]); }

    /// The first four fields as numbers (x, y, w, h), or nothing when any of
    /// them is missing or not a number.
    struct Box {
        double x, y, w, h;
    };
    std::optional<Box> box() const;

private:
    QList<QString> fields_;
};

} // namespace nuvela
