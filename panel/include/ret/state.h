#pragma once

#include <QFont>
#include <QPixmap>
#include <QString>
#include <optional>

#include "ret/colors.h"
#include "ret/ret_global.h"

namespace ret {

class PropertyBag;

/// Values of a panel newly placed on a window.
namespace defaults {
inline constexpr qint32 kHeaderAngle = 180;
inline constexpr qint16 kBackAngle = 180;
inline constexpr ColorRef kBackColor1 = 16443612;   // 0x00FAE8DC, pale blue
inline constexpr ColorRef kBackColor2 = 11232092;   // 0x00AB635C, slate blue
inline constexpr qint16 kBorderThickness = 1;
inline constexpr ColorRef kBorderColor = 14467501;  // 0x00DCC1AD
inline constexpr char kCaption[] = "Kavet Container";
inline constexpr ColorRef kHeaderColor1 = 15582631; // 0x00EDC5A7
inline constexpr ColorRef kHeaderColor2 = 16244947; // 0x00F7E0D3
inline constexpr qint32 kIconSize = 0;
/// A saved state without "IconSize" scales the icon to the header.
inline constexpr qint32 kSavedIconSize = 1;
inline constexpr ColorRef kCaptionColor = 8072450;  // 0x007B2D02, dark blue
inline constexpr qint32 kHeaderHeight = 25;
inline constexpr qint32 kCaptionAlignment = 0;
inline constexpr qint32 kCurvature = 10;
} // namespace defaults

/// Caption alignment values; every value other than these means right.
inline constexpr qint32 kAlignLeft = 0;
inline constexpr qint32 kAlignCentre = 2;

/// Everything a panel draws from and keeps. The defaults are those of a new
/// panel, except the caption font, which a new panel takes from its host.
struct PanelProperties {
    bool headerVisible = true;
    bool backMiddleOut = true;
    bool headerMiddleOut = true;
    qint32 headerAngle = defaults::kHeaderAngle;
    qint16 backAngle = defaults::kBackAngle;
    ColorRef backColor1 = defaults::kBackColor1;
    ColorRef backColor2 = defaults::kBackColor2;
    qint16 borderThickness = defaults::kBorderThickness;
    ColorRef borderColor = defaults::kBorderColor;
    QString caption = QString::fromLatin1(defaults::kCaption);
    ColorRef headerColor1 = defaults::kHeaderColor1;
    ColorRef headerColor2 = defaults::kHeaderColor2;
    qint32 iconSize = defaults::kIconSize;
    ColorRef captionColor = defaults::kCaptionColor;
    qint32 headerHeight = defaults::kHeaderHeight;
    std::optional<QFont> captionFont; ///< none: no header is drawn
    qint32 captionAlignment = defaults::kCaptionAlignment;
    std::optional<QPixmap> headerIcon;
    qint32 curvature = defaults::kCurvature;
    bool enabled = false; ///< kept and saved only; changes nothing
};

/// BackAngle as a setter stores it.
inline qint16 clampBackAngle(qint16 angle)
{
    return angle > 360 ? qint16(360) : angle < 0 ? qint16(0) : angle;
}

/// Writes the state into `bag`, one named value per property, each with the
/// persisted default so that the bag can leave out values equal to it.
/// Stops at the first value the bag refuses and reports it in `error`.
RET_EXPORT bool writeState(const PanelProperties& state, PropertyBag& bag, const QFont& ambientFont,
                           QString* error = nullptr);

/// Reads a saved state from `bag` into `state`; missing values take the
/// persisted defaults ("CaptionFont" the ambient font, "IconSize" 1). Stops
/// at the first value the bag cannot give or that does not fit its property;
/// the values read before it stay.
RET_EXPORT bool readState(PanelProperties& state, PropertyBag& bag, const QFont& ambientFont,
                          QString* error = nullptr);

} // namespace ret
