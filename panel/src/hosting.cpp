#include "ret/hosting.h"

#include "convert.h"
#include "ret/retainer.h"

#include <QMetaProperty>
#include <array>

namespace ret {

namespace {

// Downwards from HeaderVisible in the order the properties are listed.
constexpr std::array<DispatchEntry, 20> kDispatch = {{
    {0x68030013, "HeaderVisible", false},
    {0x68030012, "BackMiddleOut", false},
    {0x68030011, "HeaderMiddleOut", false},
    {0x68030010, "HeaderAngle", false},
    {0x6803000F, "BackAngle", false},
    {0x6803000E, "BackColor1", false},
    {0x6803000D, "BackColor2", false},
    {0x6803000C, "BorderThickness", false},
    {0x6803000B, "BorderColor", false},
    {0x6803000A, "Caption", false},
    {0x68030009, "HeaderColor1", false},
    {0x68030008, "HeaderColor2", false},
    {0x68030007, "IconSize", false},
    {0x68030006, "CaptionColor", false},
    {0x68030005, "HeaderHeight", false},
    {0x68030004, "CaptionFont", true},
    {0x68030003, "CaptionAlignment", false},
    {0x68030002, "HeaderIcon", true},
    {0x68030001, "Curvature", false},
    {0x68030000, "Enabled", false},
}};

bool fail(QString* error, const QString& message)
{
    if (error)
        *error = message;
    return false;
}

} // namespace

Retainer* createControl(const QString& identifier, QWidget* parent)
{
    const QString id = identifier.trimmed();
    if (id.compare(QLatin1String(kProgId), Qt::CaseInsensitive) != 0
        && id.compare(QLatin1String(kClassId), Qt::CaseInsensitive) != 0)
        return nullptr;
    return new Retainer(parent);
}

std::span<const DispatchEntry> dispatchTable() { return kDispatch; }

const DispatchEntry* findDispatch(qint32 id)
{
    for (const DispatchEntry& entry : kDispatch) {
        if (entry.id == id)
            return &entry;
    }
    return nullptr;
}

bool setPropertyById(Retainer& panel, qint32 id, const QVariant& value, QString* error)
{
    const DispatchEntry* entry = findDispatch(id);
    if (!entry)
        return fail(error, QStringLiteral("The panel has no property 0x%1.").arg(quint32(id), 8, 16, QLatin1Char('0')));
    const QString name = QString::fromLatin1(entry->name);
    if (entry->byReference) {
        if (name == QLatin1String("CaptionFont")) {
            std::optional<QFont> font;
            if (!convertFont(value, font))
                return fail(error, QStringLiteral("\"CaptionFont\" takes a font or none."));
            font ? panel.setCaptionFont(*font) : panel.clearCaptionFont();
        } else {
            std::optional<QPixmap> picture;
            if (!convertPicture(value, picture))
                return fail(error, QStringLiteral("\"HeaderIcon\" takes a picture or none."));
            picture ? panel.setHeaderIcon(*picture) : panel.clearHeaderIcon();
        }
        return true;
    }
    const QMetaObject* meta = panel.metaObject();
    const QMetaProperty property = meta->property(meta->indexOfProperty(entry->name));
    QVariant converted;
    bool fits = false;
    switch (property.metaType().id()) {
    case QMetaType::Short: {
        qint16 v = 0;
        fits = convertInt16(value, v);
        converted = QVariant::fromValue(v);
        break;
    }
    case QMetaType::Int: {
        qint32 v = 0;
        fits = convertInt32(value, v);
        converted = QVariant::fromValue(v);
        break;
    }
    case QMetaType::UInt: {
        ColorRef v = 0;
        fits = convertColour(value, v);
        converted = QVariant::fromValue(v);
        break;
    }
    case QMetaType::Bool: {
        bool v = false;
        fits = convertBool(value, v);
        converted = v;
        break;
    }
    default: {
        QString v;
        fits = convertString(value, v);
        converted = v;
    }
    }
    if (!fits)
        return fail(error, QStringLiteral("\"%1\" does not take the value %2.").arg(name, value.toString()));
    property.write(&panel, converted);
    return true;
}

QVariant propertyById(const Retainer& panel, qint32 id)
{
    const DispatchEntry* entry = findDispatch(id);
    if (!entry)
        return {};
    const QString name = QString::fromLatin1(entry->name);
    if (name == QLatin1String("CaptionFont"))
        return panel.hasCaptionFont() ? QVariant(panel.captionFont()) : QVariant();
    if (name == QLatin1String("HeaderIcon"))
        return panel.hasHeaderIcon() ? QVariant(panel.headerIcon()) : QVariant();
    return panel.property(entry->name);
}

} // namespace ret
