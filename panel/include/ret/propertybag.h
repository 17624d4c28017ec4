#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>
#include <optional>

#include "ret/ret_global.h"

namespace ret {

/// Where a host keeps a control's saved state: named values, each written
/// and read with a default. "None" (no font, no picture) is an invalid
/// QVariant.
class RET_EXPORT PropertyBag {
public:
    virtual ~PropertyBag();
    /// The value saved under `name`, `defaultValue` when there is none, or
    /// nothing when the bag fails (errorString() says why).
    virtual std::optional<QVariant> read(const QString& name, const QVariant& defaultValue) = 0;
    /// Saves `value` under `name`; a value equal to `defaultValue` is left out.
    /// False when the bag fails.
    virtual bool write(const QString& name, const QVariant& value, const QVariant& defaultValue) = 0;
    virtual QString errorString() const { return {}; }
};

/// A bag kept as text, one "Name = value" line per saved value in the order
/// written, so that a window description can hold a panel's state:
///   integers and booleans  HeaderAngle = 90,  Enabled = -1   (true is -1)
///   strings                Caption = "Save \"all\""   (\\ \" \n \r \t escapes)
///   fonts                  CaptionFont = font "Liberation Sans,12,-1,5,700,0,0,0,0,0"
///   pictures               HeaderIcon = picture "<PNG in base64>"
///   none                   CaptionFont = none
class RET_EXPORT TextPropertyBag : public PropertyBag {
public:
    TextPropertyBag() = default;

    /// Parses text written by toText(); nothing (and a message naming the
    /// line in `error`) when a line is not of that form.
    static std::optional<TextPropertyBag> fromText(const QString& text, QString* error = nullptr);
    QString toText() const;

    std::optional<QVariant> read(const QString& name, const QVariant& defaultValue) override;
    bool write(const QString& name, const QVariant& value, const QVariant& defaultValue) override;
    QString errorString() const override { return error_; }

    /// Names of the saved values in the order they were written.
    QStringList names() const;
    bool contains(const QString& name) const;

private:
    QList<QPair<QString, QVariant>> values_;
    QString error_;
};

} // namespace ret
