#pragma once

#include <QPalette>
#include <QRgb>

#include "ret/ret_global.h"

namespace ret {

/// A colour as a host passes it: 0x00BBGGRR, or a system-colour reference
/// (high bit set, the system colour's index in the low byte).
using ColorRef = quint32;

/// Result of a failed translation; drawing goes on with it (all channels 255).
inline constexpr qint32 kNoColor = -1;

/// The colour reference as RGB 0x00BBGGRR. System colours are taken from
/// `palette`; a reference that names no colour gives kNoColor.
RET_EXPORT qint32 TranslateColor(ColorRef ref, const QPalette& palette);

/// 0x00BBGGRR (or kNoColor) as an opaque Qt colour value.
inline QRgb toQRgb(qint32 rgb)
{
    const auto v = static_cast<quint32>(rgb);
    return qRgb(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

/// A Qt colour as 0x00BBGGRR.
inline qint32 fromQColor(const QColor& colour)
{
    return qint32(quint32(colour.red()) | quint32(colour.green()) << 8
                  | quint32(colour.blue()) << 16);
}

} // namespace ret
