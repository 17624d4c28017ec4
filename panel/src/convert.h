#pragma once

// Conversions of a value a host hands over (saved or set through an
// identifier) to a panel property's own type. Each fails, leaving `out`
// alone, when the value does not fit.

#include <QFont>
#include <QPixmap>
#include <QVariant>
#include <optional>

#include "ret/colors.h"

namespace ret {

bool convertInt16(const QVariant& v, qint16& out);
bool convertInt32(const QVariant& v, qint32& out);
bool convertColour(const QVariant& v, ColorRef& out);
bool convertBool(const QVariant& v, bool& out);
bool convertString(const QVariant& v, QString& out);
/// An invalid value is none.
bool convertFont(const QVariant& v, std::optional<QFont>& out);
bool convertPicture(const QVariant& v, std::optional<QPixmap>& out);

} // namespace ret
