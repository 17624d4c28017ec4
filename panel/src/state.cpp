#include "ret/state.h"

#include "convert.h"
#include "ret/gradient.h"
#include "ret/propertybag.h"

#include <QImage>
#include <cmath>
#include <functional>
#include <limits>

namespace ret {

namespace {

QVariant int16Value(qint16 v) { return QVariant::fromValue(v); }
QVariant int32Value(qint32 v) { return QVariant::fromValue(v); }
// Colours are saved as 32-bit integers, so system colours come out negative.
QVariant colourValue(ColorRef v) { return QVariant::fromValue(qint32(v)); }
QVariant fontValue(const std::optional<QFont>& f) { return f ? QVariant(*f) : QVariant(); }
QVariant pictureValue(const std::optional<QPixmap>& p) { return p ? QVariant(*p) : QVariant(); }

// A saved value as a whole number, the way the panel's integer and boolean
// properties accept it: fractions round halves to even, true is -1.
std::optional<qint64> integerOf(const QVariant& v)
{
    switch (v.metaType().id()) {
    case QMetaType::Bool:
        return v.toBool() ? -1 : 0;
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
        return v.toLongLong();
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        if (v.toULongLong() > quint64(std::numeric_limits<qint64>::max()))
            return std::nullopt;
        return v.toLongLong();
    case QMetaType::Float:
    case QMetaType::Double:
        if (!std::isfinite(v.toDouble()))
            return std::nullopt;
        return roundHalfEven(v.toDouble());
    case QMetaType::QString: {
        bool ok = false;
        const qint64 n = v.toString().trimmed().toLongLong(&ok);
        return ok ? std::optional<qint64>(n) : std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

QString describe(const QVariant& v)
{
    if (!v.isValid())
        return QStringLiteral("none");
    if (v.metaType().id() == QMetaType::QString)
        return u'"' + v.toString() + u'"';
    const QString text = v.toString();
    return text.isEmpty() ? QString::fromLatin1(v.typeName()) : text;
}

bool failWith(QString* error, const QString& message)
{
    if (error)
        *error = message;
    return false;
}

} // namespace

bool convertInt16(const QVariant& v, qint16& out)
{
    const auto n = integerOf(v);
    if (!n || *n < std::numeric_limits<qint16>::min() || *n > std::numeric_limits<qint16>::max())
        return false;
    out = qint16(*n);
    return true;
}

bool convertInt32(const QVariant& v, qint32& out)
{
    const auto n = integerOf(v);
    if (!n || *n < std::numeric_limits<qint32>::min() || *n > std::numeric_limits<qint32>::max())
        return false;
    out = qint32(*n);
    return true;
}

bool convertColour(const QVariant& v, ColorRef& out)
{
    // Either reading of the 32 bits: signed as saved, or unsigned as passed.
    const auto n = integerOf(v);
    if (!n || *n < std::numeric_limits<qint32>::min() || *n > std::numeric_limits<quint32>::max())
        return false;
    out = ColorRef(quint32(*n));
    return true;
}

bool convertBool(const QVariant& v, bool& out)
{
    const auto n = integerOf(v);
    if (!n)
        return false;
    out = *n != 0;
    return true;
}

bool convertString(const QVariant& v, QString& out)
{
    if (v.metaType().id() == QMetaType::QString) {
        out = v.toString();
        return true;
    }
    const auto n = integerOf(v);
    if (!n)
        return false;
    out = QString::number(*n);
    return true;
}

bool convertFont(const QVariant& v, std::optional<QFont>& out)
{
    if (!v.isValid()) {
        out.reset();
        return true;
    }
    if (v.metaType().id() == QMetaType::QFont) {
        out = v.value<QFont>();
        return true;
    }
    if (v.metaType().id() == QMetaType::QString) {
        QFont font;
        if (!font.fromString(v.toString()))
            return false;
        out = font;
        return true;
    }
    return false;
}

bool convertPicture(const QVariant& v, std::optional<QPixmap>& out)
{
    if (!v.isValid()) {
        out.reset();
        return true;
    }
    if (v.metaType().id() == QMetaType::QPixmap) {
        out = v.value<QPixmap>();
        return true;
    }
    if (v.metaType().id() == QMetaType::QImage) {
        out = QPixmap::fromImage(v.value<QImage>());
        return true;
    }
    return false;
}

bool writeState(const PanelProperties& s, PropertyBag& bag, const QFont& ambientFont, QString* error)
{
    using namespace defaults;
    const std::pair<const char*, std::pair<QVariant, QVariant>> values[] = {
        {"HeaderAngle", {int32Value(s.headerAngle), int32Value(kHeaderAngle)}},
        {"BackAngle", {int16Value(s.backAngle), int16Value(kBackAngle)}},
        {"IconSize", {int32Value(s.iconSize), int32Value(kSavedIconSize)}},
        {"HeaderColor2", {colourValue(s.headerColor2), colourValue(kHeaderColor2)}},
        {"HeaderColor1", {colourValue(s.headerColor1), colourValue(kHeaderColor1)}},
        {"BackColor2", {colourValue(s.backColor2), colourValue(kBackColor2)}},
        {"BackColor1", {colourValue(s.backColor1), colourValue(kBackColor1)}},
        {"BorderColor", {colourValue(s.borderColor), colourValue(kBorderColor)}},
        {"CaptionColor", {colourValue(s.captionColor), colourValue(kCaptionColor)}},
        {"Caption", {QVariant(s.caption), QVariant(QString::fromLatin1(kCaption))}},
        {"CaptionAlignment", {int32Value(s.captionAlignment), int32Value(kCaptionAlignment)}},
        {"HeaderHeight", {int32Value(s.headerHeight), int32Value(kHeaderHeight)}},
        {"CaptionFont", {fontValue(s.captionFont), QVariant(ambientFont)}},
        {"Curvature", {int32Value(s.curvature), int32Value(kCurvature)}},
        {"HeaderIcon", {pictureValue(s.headerIcon), QVariant()}},
        {"Enabled", {QVariant(s.enabled), QVariant(false)}},
        {"BorderThickness", {int16Value(s.borderThickness), int16Value(kBorderThickness)}},
        {"BackMiddleOut", {QVariant(s.backMiddleOut), QVariant(true)}},
        {"HeaderMiddleOut", {QVariant(s.headerMiddleOut), QVariant(true)}},
        {"HeaderVisible", {QVariant(s.headerVisible), QVariant(true)}},
    };
    for (const auto& [name, value] : values) {
        if (!bag.write(QString::fromLatin1(name), value.first, value.second)) {
            return failWith(error, QStringLiteral("Could not save \"%1\": %2")
                                       .arg(QLatin1String(name), bag.errorString()));
        }
    }
    return true;
}

bool readState(PanelProperties& s, PropertyBag& bag, const QFont& ambientFont, QString* error)
{
    using namespace defaults;
    using Apply = std::function<bool(const QVariant&)>;
    const std::pair<const char*, std::pair<QVariant, Apply>> values[] = {
        {"HeaderIcon", {QVariant(), [&](auto& v) { return convertPicture(v, s.headerIcon); }}},
        {"CaptionFont", {QVariant(ambientFont), [&](auto& v) { return convertFont(v, s.captionFont); }}},
        {"IconSize", {int32Value(kSavedIconSize), [&](auto& v) { return convertInt32(v, s.iconSize); }}},
        {"HeaderAngle", {int32Value(kHeaderAngle), [&](auto& v) { return convertInt32(v, s.headerAngle); }}},
        {"BackAngle", {int16Value(kBackAngle), [&](auto& v) { return convertInt16(v, s.backAngle); }}},
        {"HeaderColor2", {colourValue(kHeaderColor2), [&](auto& v) { return convertColour(v, s.headerColor2); }}},
        {"HeaderColor1", {colourValue(kHeaderColor1), [&](auto& v) { return convertColour(v, s.headerColor1); }}},
        {"BackColor2", {colourValue(kBackColor2), [&](auto& v) { return convertColour(v, s.backColor2); }}},
        {"BackColor1", {colourValue(kBackColor1), [&](auto& v) { return convertColour(v, s.backColor1); }}},
        {"BorderColor", {colourValue(kBorderColor), [&](auto& v) { return convertColour(v, s.borderColor); }}},
        {"CaptionColor", {colourValue(kCaptionColor), [&](auto& v) { return convertColour(v, s.captionColor); }}},
        {"Caption", {QVariant(QString::fromLatin1(kCaption)), [&](auto& v) { return convertString(v, s.caption); }}},
        {"Curvature", {int32Value(kCurvature), [&](auto& v) { return convertInt32(v, s.curvature); }}},
        {"CaptionAlignment", {int32Value(kCaptionAlignment), [&](auto& v) { return convertInt32(v, s.captionAlignment); }}},
        {"HeaderHeight", {int32Value(kHeaderHeight), [&](auto& v) { return convertInt32(v, s.headerHeight); }}},
        {"Enabled", {QVariant(false), [&](auto& v) { return convertBool(v, s.enabled); }}},
        {"BorderThickness", {int16Value(kBorderThickness), [&](auto& v) { return convertInt16(v, s.borderThickness); }}},
        {"BackMiddleOut", {QVariant(true), [&](auto& v) { return convertBool(v, s.backMiddleOut); }}},
        {"HeaderMiddleOut", {QVariant(true), [&](auto& v) { return convertBool(v, s.headerMiddleOut); }}},
        {"HeaderVisible", {QVariant(true), [&](auto& v) { return convertBool(v, s.headerVisible); }}},
    };
    for (const auto& [name, entry] : values) {
        const QString key = QString::fromLatin1(name);
        const std::optional<QVariant> value = bag.read(key, entry.first);
        if (!value) {
            return failWith(error, QStringLiteral("Could not read \"%1\": %2")
                                       .arg(key, bag.errorString()));
        }
        if (!entry.second(*value)) {
            return failWith(error, QStringLiteral("The saved \"%1\" (%2) does not fit the property.")
                                       .arg(key, describe(*value)));
        }
    }
    return true;
}

} // namespace ret
