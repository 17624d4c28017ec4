#pragma once

#include <QString>
#include <QVariant>
#include <span>

#include "ret/ret_global.h"

class QWidget;
class Retainer;

namespace ret {

/// The panel's programmatic identifier.
inline constexpr char kProgId[] = "Ret.Retainer";
/// The panel's class identifier, the same wherever the panel is bound.
inline constexpr char kClassId[] = "{5fd5eaa5-1ce0-4eb8-9611-e3995a79205e}";

/// A new panel (initialised as newly placed) for the programmatic or class
/// identifier, both matched without regard to letter case; null for any
/// other identifier.
RET_EXPORT Retainer* createControl(const QString& identifier, QWidget* parent = nullptr);

/// One property reachable through its dispatch identifier.
struct DispatchEntry {
    qint32 id;
    const char* name;
    bool byReference; ///< set as an object reference (font, picture)
};

/// Identifiers of the twenty properties, from 0x68030013 (HeaderVisible)
/// down to 0x68030000 (Enabled).
RET_EXPORT std::span<const DispatchEntry> dispatchTable();
RET_EXPORT const DispatchEntry* findDispatch(qint32 id);

/// The identifier through which the program sets a panel's caption.
inline constexpr qint32 kCaptionDispatchId = 0x6803000A;

/// Sets a property through its identifier, as its setter does. The value is
/// converted to the property's type; an unknown identifier or a value that
/// does not fit (text for a number, 40000 for a 16-bit value) sets nothing
/// and says why in `error`. For a font or a picture an invalid QVariant
/// means none.
RET_EXPORT bool setPropertyById(Retainer& panel, qint32 id, const QVariant& value,
                                QString* error = nullptr);
/// The property's value; an invalid QVariant for an unknown identifier or
/// for a font or picture that is none.
RET_EXPORT QVariant propertyById(const Retainer& panel, qint32 id);

} // namespace ret
