#pragma once

#include <QString>
#include <QVariant>

#include <optional>

namespace nuvela {

/// Property values arrive as text from language files and window
/// descriptions; they are read the way U.S. English text is read, whatever the
/// user's locale: "." decimals, "," thousands, "True"/"False" for booleans,
/// "&H" hexadecimal and "&O" octal whole numbers. Values that are already
/// numbers or booleans pass through.

/// A number; std::nullopt when the text is not one.
std::optional<double> numberFromValue(const QVariant& value);

/// A whole number, rounded to the nearest with halves to even (2.5 gives 2);
/// std::nullopt when not a number or out of the 32-bit range.
std::optional<int> wholeFromValue(const QVariant& value);

/// "True"/"False" in any letter case, or a number (zero is false).
std::optional<bool> booleanFromValue(const QVariant& value);

/// Text; booleans become "True"/"False", numbers their shortest U.S. form.
QString textFromValue(const QVariant& value);

} // namespace nuvela
