#include "windows/common/toolkitproperties.h"

#include "windows/common/buttonplus.h"
#include "windows/common/colournumber.h"
#include "windows/common/controls.h"
#include "windows/common/textvalue.h"
#include "windows/common/twips.h"

#include <QAbstractSlider>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMetaProperty>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTextEdit>

#include <array>
#include <cmath>

namespace nuvela {

namespace {

using Reader = std::optional<QVariant> (*)(const QWidget*);
using Writer = bool (*)(QWidget*, const QVariant&);

struct Property {
    QStringView name;
    Reader read;
    Writer write;
};

// Check and option buttons keep both settings, since Qt has one direction
// for the box side and the reading order.
constexpr char kRightToLeftSetting[] = "nuvelaRightToLeft";
constexpr char kBoxAlignmentSetting[] = "nuvelaAlignment";

bool isCheckOrOption(const QWidget* w)
{
    return qobject_cast<const QCheckBox*>(w) || qobject_cast<const QRadioButton*>(w);
}

bool isTextBox(const QWidget* w)
{
    return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QTextEdit*>(w)
        || qobject_cast<const QPlainTextEdit*>(w) || qobject_cast<const QComboBox*>(w);
}

// ---- Caption and texts

// The text without its mnemonic marks; "&&", a plain "&", stays.
QString withoutMnemonic(const QString& text)
{
    QString plain;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'&') {
            plain += text[i];
        } else if (i + 1 < text.size() && text[i + 1] == u'&') {
            plain += QStringLiteral("&&");
            ++i;
        }
    }
    return plain;
}

// A button's new text replaces its key with the text's "&" mnemonic; a key
// the window gave it (Ctrl+S, Alt+C) must outlive a translated caption. A
// button has one key, so a translated mnemonic of another letter is not
// underlined: Alt with that letter would do nothing.
void setButtonCaption(QAbstractButton* button, const QString& text)
{
    const QKeySequence given = button->shortcut();
    const bool ownKey = !given.isEmpty() && given != QKeySequence::mnemonic(button->text());
    const QKeySequence mnemonic = QKeySequence::mnemonic(text);
    button->setText(ownKey && !mnemonic.isEmpty() && mnemonic != given ? withoutMnemonic(text) : text);
    if (ownKey)
        button->setShortcut(given);
}

std::optional<QVariant> readCaption(const QWidget* w)
{
    if (w->isWindow())
        return w->windowTitle();
    if (auto label = qobject_cast<const QLabel*>(w))
        return label->text();
    if (auto button = qobject_cast<const QAbstractButton*>(w))
        return button->text();
    if (auto group = qobject_cast<const QGroupBox*>(w))
        return group->title();
    return std::nullopt;
}

bool writeCaption(QWidget* w, const QVariant& value)
{
    const QString text = textFromValue(value);
    if (w->isWindow())
        w->setWindowTitle(text);
    else if (auto label = qobject_cast<QLabel*>(w))
        label->setText(text);
    else if (auto button = qobject_cast<QAbstractButton*>(w))
        setButtonCaption(button, text);
    else if (auto group = qobject_cast<QGroupBox*>(w))
        group->setTitle(text);
    else
        return false;
    return true;
}

std::optional<QVariant> readText(const QWidget* w)
{
    if (auto line = qobject_cast<const QLineEdit*>(w))
        return line->text();
    if (auto edit = qobject_cast<const QTextEdit*>(w))
        return edit->toPlainText();
    if (auto plain = qobject_cast<const QPlainTextEdit*>(w))
        return plain->toPlainText();
    if (auto combo = qobject_cast<const QComboBox*>(w))
        return combo->currentText();
    return std::nullopt;
}

bool writeText(QWidget* w, const QVariant& value)
{
    const QString text = textFromValue(value);
    if (auto line = qobject_cast<QLineEdit*>(w)) {
        line->setText(text);
    } else if (auto edit = qobject_cast<QTextEdit*>(w)) {
        edit->setPlainText(text);
    } else if (auto plain = qobject_cast<QPlainTextEdit*>(w)) {
        plain->setPlainText(text);
    } else if (auto combo = qobject_cast<QComboBox*>(w)) {
        if (combo->isEditable()) {
            combo->setEditText(text);
        } else {
            const int index = combo->findText(text, Qt::MatchFixedString);
            if (index < 0)
                return false;
            combo->setCurrentIndex(index);
        }
    } else {
        return false;
    }
    return true;
}

std::optional<QVariant> readToolTip(const QWidget* w) { return w->toolTip(); }
bool writeToolTip(QWidget* w, const QVariant& value)
{
    w->setToolTip(textFromValue(value));
    return true;
}

std::optional<QVariant> readTag(const QWidget* w) { return widgetTag(w); }
bool writeTag(QWidget* w, const QVariant& value)
{
    setWidgetTag(w, textFromValue(value));
    return true;
}

// ---- Direction and alignment

// Qt passes a direction down to every child that has none of its own; the
// toolkit's setting belongs to one widget, so the named children keep theirs.
void setOwnDirection(QWidget* w, Qt::LayoutDirection direction)
{
    const auto children = w->findChildren<QWidget*>();
    for (QWidget* child : children) {
        if (!child->objectName().isEmpty() && !child->isWindow()
            && !child->testAttribute(Qt::WA_SetLayoutDirection))
            child->setLayoutDirection(child->layoutDirection());
    }
    w->setLayoutDirection(direction);
}

bool checkRightToLeft(const QWidget* w)
{
    const QVariant stored = w->property(kRightToLeftSetting);
    return stored.isValid() ? stored.toBool() : w->layoutDirection() == Qt::RightToLeft;
}

int checkBoxAlignment(const QWidget* w)
{
    const QVariant stored = w->property(kBoxAlignmentSetting);
    return stored.isValid() ? stored.toInt() : (w->layoutDirection() == Qt::RightToLeft ? 1 : 0);
}

void updateCheckDirection(QWidget* w)
{
    const bool boxOnRight = checkRightToLeft(w) || checkBoxAlignment(w) == 1;
    setOwnDirection(w, boxOnRight ? Qt::RightToLeft : Qt::LeftToRight);
}

std::optional<QVariant> readRightToLeft(const QWidget* w)
{
    if (isCheckOrOption(w))
        return checkRightToLeft(w);
    return w->layoutDirection() == Qt::RightToLeft;
}

bool writeRightToLeft(QWidget* w, const QVariant& value)
{
    const auto rightToLeft = booleanFromValue(value);
    if (!rightToLeft)
        return false;
    if (isCheckOrOption(w)) {
        w->setProperty(kBoxAlignmentSetting, checkBoxAlignment(w));
        w->setProperty(kRightToLeftSetting, *rightToLeft);
        updateCheckDirection(w);
    } else {
        setOwnDirection(w, *rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    }
    return true;
}

std::optional<QVariant> alignmentNumber(Qt::Alignment alignment)
{
    if (alignment & Qt::AlignRight)
        return 1;
    if (alignment & Qt::AlignHCenter)
        return 2;
    return 0;
}

std::optional<Qt::Alignment> horizontalAlignment(const QVariant& value)
{
    const auto number = wholeFromValue(value);
    if (!number)
        return std::nullopt;
    switch (*number) {
    case 0:
        return Qt::AlignLeft;
    case 1:
        return Qt::AlignRight;
    case 2:
        return Qt::AlignHCenter;
    default:
        return std::nullopt;
    }
}

std::optional<QVariant> readAlignment(const QWidget* w)
{
    if (isCheckOrOption(w))
        return checkBoxAlignment(w);
    if (auto label = qobject_cast<const QLabel*>(w))
        return alignmentNumber(label->alignment());
    if (auto line = qobject_cast<const QLineEdit*>(w))
        return alignmentNumber(line->alignment());
    return std::nullopt;
}

bool writeAlignment(QWidget* w, const QVariant& value)
{
    const auto horizontal = horizontalAlignment(value);
    if (!horizontal)
        return false;
    if (isCheckOrOption(w)) {
        if (*horizontal == Qt::AlignHCenter)
            return false;
        w->setProperty(kRightToLeftSetting, checkRightToLeft(w));
        w->setProperty(kBoxAlignmentSetting, *horizontal == Qt::AlignRight ? 1 : 0);
        updateCheckDirection(w);
        return true;
    }
    // Absolute, so that a right-to-left widget does not mirror "left" into "right".
    const Qt::Alignment absolute = *horizontal | Qt::AlignAbsolute;
    if (auto label = qobject_cast<QLabel*>(w)) {
        label->setAlignment(absolute | (label->alignment() & Qt::AlignVertical_Mask));
        return true;
    }
    if (auto line = qobject_cast<QLineEdit*>(w)) {
        line->setAlignment(absolute | (line->alignment() & Qt::AlignVertical_Mask));
        return true;
    }
    return false;
}

// ---- Geometry in twips

template <int Side>
std::optional<QVariant> readSide(const QWidget* w)
{
    const QRectF twips = twipsGeometry(w);
    const std::array<double, 4> sides { twips.x(), twips.y(), twips.width(), twips.height() };
    return sides[Side];
}

template <int Side>
bool writeSide(QWidget* w, const QVariant& value)
{
    const auto number = numberFromValue(value);
    if (!number)
        return false;
    // Sizes cannot be negative, and no screen is wider than this many twips.
    if ((Side >= 2 && *number < 0) || std::abs(*number) > 1.0e7)
        return false;
    QRectF twips = twipsGeometry(w);
    switch (Side) {
    case 0:
        twips.moveLeft(*number);
        break;
    case 1:
        twips.moveTop(*number);
        break;
    case 2:
        twips.setWidth(*number);
        break;
    default:
        twips.setHeight(*number);
        break;
    }
    setTwipsGeometry(w, twips);
    return true;
}

// ---- State

std::optional<QVariant> readVisible(const QWidget* w) { return !w->isHidden(); }
bool writeVisible(QWidget* w, const QVariant& value)
{
    const auto visible = booleanFromValue(value);
    if (!visible)
        return false;
    w->setVisible(*visible);
    return true;
}

std::optional<QVariant> readEnabled(const QWidget* w)
{
    return !w->testAttribute(Qt::WA_ForceDisabled);
}
bool writeEnabled(QWidget* w, const QVariant& value)
{
    const auto enabled = booleanFromValue(value);
    if (!enabled)
        return false;
    w->setEnabled(*enabled);
    return true;
}

// ---- Colours

QList<QPalette::ColorRole> backRoles(const QWidget* w)
{
    if (qobject_cast<const QAbstractButton*>(w) && !isCheckOrOption(w))
        return { QPalette::Button };
    if (isTextBox(w))
        return { QPalette::Base };
    return { QPalette::Window };
}

QList<QPalette::ColorRole> foreRoles(const QWidget* w)
{
    if (qobject_cast<const QAbstractButton*>(w) && !isCheckOrOption(w))
        return { QPalette::ButtonText };
    if (isTextBox(w))
        return { QPalette::Text };
    return { QPalette::WindowText, QPalette::ButtonText, QPalette::Text };
}

std::optional<QVariant> readColour(const QWidget* w, QPalette::ColorRole role)
{
    return double(colourNumber(w->palette().color(QPalette::Active, role)));
}

bool writeColour(QWidget* w, const QVariant& value, const QList<QPalette::ColorRole>& roles)
{
    const auto number = colourNumberFromValue(value);
    if (!number)
        return false;
    const auto colour = resolveColour(*number, w->palette());
    if (!colour)
        return false;
    QPalette palette = w->palette();
    for (QPalette::ColorRole role : roles) {
        palette.setColor(QPalette::Active, role, *colour);
        palette.setColor(QPalette::Inactive, role, *colour);
    }
    w->setPalette(palette);
    return true;
}

std::optional<QVariant> readBackColour(const QWidget* w) { return readColour(w, backRoles(w).first()); }
bool writeBackColour(QWidget* w, const QVariant& value)
{
    if (!writeColour(w, value, backRoles(w)))
        return false;
    if (backRoles(w).first() == QPalette::Window)
        w->setAutoFillBackground(true);
    return true;
}
std::optional<QVariant> readForeColour(const QWidget* w) { return readColour(w, foreRoles(w).first()); }
bool writeForeColour(QWidget* w, const QVariant& value)
{
    return writeColour(w, value, foreRoles(w));
}

// ---- Values of check boxes, option buttons, scroll bars and sliders

std::optional<QVariant> readValue(const QWidget* w)
{
    if (auto check = qobject_cast<const QCheckBox*>(w))
        return int(check->checkState() == Qt::Checked ? 1
                       : check->checkState() == Qt::PartiallyChecked ? 2
                                                                     : 0);
    if (auto option = qobject_cast<const QRadioButton*>(w))
        return option->isChecked();
    if (auto slider = qobject_cast<const QAbstractSlider*>(w))
        return slider->value();
    return std::nullopt;
}

bool writeValue(QWidget* w, const QVariant& value)
{
    if (auto check = qobject_cast<QCheckBox*>(w)) {
        const auto state = wholeFromValue(value);
        if (!state || *state < 0 || *state > 2)
            return false;
        if (*state == 2)
            check->setTristate(true);
        check->setCheckState(*state == 1 ? Qt::Checked
                                 : *state == 2 ? Qt::PartiallyChecked
                                               : Qt::Unchecked);
        return true;
    }
    if (auto option = qobject_cast<QRadioButton*>(w)) {
        const auto checked = booleanFromValue(value);
        if (!checked)
            return false;
        option->setChecked(*checked);
        return true;
    }
    if (auto slider = qobject_cast<QAbstractSlider*>(w)) {
        const auto number = wholeFromValue(value);
        // The toolkit refuses a value outside the range; Qt would clamp it.
        if (!number || *number < std::min(slider->minimum(), slider->maximum())
            || *number > std::max(slider->minimum(), slider->maximum()))
            return false;
        slider->setValue(*number);
        return true;
    }
    return false;
}

template <int (QAbstractSlider::*Get)() const, void (QAbstractSlider::*Set)(int)>
std::optional<QVariant> readRange(const QWidget* w)
{
    if (auto slider = qobject_cast<const QAbstractSlider*>(w))
        return (slider->*Get)();
    return std::nullopt;
}

template <int (QAbstractSlider::*Get)() const, void (QAbstractSlider::*Set)(int)>
bool writeRange(QWidget* w, const QVariant& value)
{
    auto slider = qobject_cast<QAbstractSlider*>(w);
    const auto number = wholeFromValue(value);
    if (!slider || !number)
        return false;
    (slider->*Set)(*number);
    return true;
}

// ---- ButtonPlus and frames

std::optional<QVariant> readPictureAlignment(const QWidget* w)
{
    if (auto button = qobject_cast<const ButtonPlus*>(w))
        return int(button->pictureAlignment());
    return std::nullopt;
}
bool writePictureAlignment(QWidget* w, const QVariant& value)
{
    auto button = qobject_cast<ButtonPlus*>(w);
    const auto number = wholeFromValue(value);
    return button && number && button->setPictureAlignmentNumber(*number);
}

std::optional<QVariant> readBorderStyle(const QWidget* w)
{
    if (auto button = qobject_cast<const ButtonPlus*>(w))
        return int(button->borderStyle());
    if (auto line = qobject_cast<const QLineEdit*>(w))
        return line->hasFrame() ? 1 : 0;
    if (auto frame = qobject_cast<const QFrame*>(w))
        return frame->frameShape() == QFrame::NoFrame ? 0 : 1;
    return std::nullopt;
}
bool writeBorderStyle(QWidget* w, const QVariant& value)
{
    const auto number = wholeFromValue(value);
    if (!number)
        return false;
    if (auto button = qobject_cast<ButtonPlus*>(w))
        return button->setBorderStyleNumber(*number);
    if (*number != 0 && *number != 1)
        return false;
    if (auto line = qobject_cast<QLineEdit*>(w)) {
        line->setFrame(*number == 1);
        return true;
    }
    if (auto frame = qobject_cast<QFrame*>(w)) {
        frame->setFrameShape(*number == 1 ? QFrame::Box : QFrame::NoFrame);
        if (*number == 1)
            frame->setFrameShadow(QFrame::Plain);
        return true;
    }
    return false;
}

// ---- Font

std::optional<QVariant> readFontSize(const QWidget* w)
{
    const qreal size = w->font().pointSizeF();
    if (size <= 0)
        return std::nullopt; // a font sized in pixels has no point size
    return double(size);
}
bool writeFontSize(QWidget* w, const QVariant& value)
{
    const auto size = numberFromValue(value);
    // The toolkit's fonts range up to 2048 points.
    if (!size || *size <= 0 || *size > 2048)
        return false;
    QFont font = w->font();
    font.setPointSizeF(*size);
    w->setFont(font);
    return true;
}

std::optional<QVariant> readFontName(const QWidget* w) { return w->font().family(); }
bool writeFontName(QWidget* w, const QVariant& value)
{
    const QString family = textFromValue(value).trimmed();
    if (family.isEmpty())
        return false;
    QFont font = w->font();
    font.setFamilies({ family });
    w->setFont(font);
    return true;
}

std::optional<QVariant> readFontBold(const QWidget* w) { return w->font().bold(); }
bool writeFontBold(QWidget* w, const QVariant& value)
{
    const auto bold = booleanFromValue(value);
    if (!bold)
        return false;
    QFont font = w->font();
    font.setBold(*bold);
    w->setFont(font);
    return true;
}

// ---- Read-only

std::optional<QVariant> readName(const QWidget* w) { return w->objectName(); }
std::optional<QVariant> readIndex(const QWidget* w)
{
    if (const auto index = arrayIndex(w))
        return *index;
    return std::nullopt;
}
bool refuse(QWidget*, const QVariant&) { return false; }

const Property kProperties[] = {
    { u"Caption", readCaption, writeCaption },
    { u"Text", readText, writeText },
    { u"ToolTipText", readToolTip, writeToolTip },
    { u"Tag", readTag, writeTag },
    { u"RightToLeft", readRightToLeft, writeRightToLeft },
    { u"Alignment", readAlignment, writeAlignment },
    { u"Left", readSide<0>, writeSide<0> },
    { u"Top", readSide<1>, writeSide<1> },
    { u"Width", readSide<2>, writeSide<2> },
    { u"Height", readSide<3>, writeSide<3> },
    { u"Visible", readVisible, writeVisible },
    { u"Enabled", readEnabled, writeEnabled },
    { u"BackColor", readBackColour, writeBackColour },
    { u"ForeColor", readForeColour, writeForeColour },
    { u"Value", readValue, writeValue },
    { u"Min", readRange<&QAbstractSlider::minimum, &QAbstractSlider::setMinimum>,
      writeRange<&QAbstractSlider::minimum, &QAbstractSlider::setMinimum> },
    { u"Max", readRange<&QAbstractSlider::maximum, &QAbstractSlider::setMaximum>,
      writeRange<&QAbstractSlider::maximum, &QAbstractSlider::setMaximum> },
    { u"SmallChange", readRange<&QAbstractSlider::singleStep, &QAbstractSlider::setSingleStep>,
      writeRange<&QAbstractSlider::singleStep, &QAbstractSlider::setSingleStep> },
    { u"LargeChange", readRange<&QAbstractSlider::pageStep, &QAbstractSlider::setPageStep>,
      writeRange<&QAbstractSlider::pageStep, &QAbstractSlider::setPageStep> },
    { u"PictureAlignment", readPictureAlignment, writePictureAlignment },
    { u"BorderStyle", readBorderStyle, writeBorderStyle },
    { u"FontSize", readFontSize, writeFontSize },
    { u"font.size", readFontSize, writeFontSize },
    { u"FontName", readFontName, writeFontName },
    { u"Font", readFontName, writeFontName },
    { u"FontBold", readFontBold, writeFontBold },
    { u"Name", readName, refuse },
    { u"Index", readIndex, refuse },
};

const Property* findProperty(QStringView name)
{
    for (const Property& property : kProperties) {
        if (property.name.compare(name, Qt::CaseInsensitive) == 0)
            return &property;
    }
    return nullptr;
}

// A Q_PROPERTY that the widget's class declares under the toolkit's name. Qt's
// own properties start in lower case, the toolkit's in upper case, so only
// those are matched (without regard to case, like every toolkit name).
std::optional<QMetaProperty> ownProperty(const QWidget* w, QStringView name)
{
    const QMetaObject* meta = w->metaObject();
    for (int i = 0; i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        const QLatin1StringView own(property.name());
        if (!own.isEmpty() && QChar(own.front()).isUpper()
            && own.compare(name, Qt::CaseInsensitive) == 0)
            return property;
    }
    return std::nullopt;
}

std::optional<QVariant> convertForProperty(const QMetaProperty& property, const QVariant& value)
{
    switch (property.metaType().id()) {
    case QMetaType::QString:
        return textFromValue(value);
    case QMetaType::Bool:
        if (auto b = booleanFromValue(value))
            return *b;
        return std::nullopt;
    case QMetaType::Int:
        if (auto n = wholeFromValue(value))
            return *n;
        return std::nullopt;
    case QMetaType::UInt:
        if (auto c = colourNumberFromValue(value))
            return *c;
        return std::nullopt;
    case QMetaType::Double:
        if (auto d = numberFromValue(value))
            return *d;
        return std::nullopt;
    default: {
        QVariant converted = value;
        if (!converted.convert(property.metaType()))
            return std::nullopt;
        return converted;
    }
    }
}

} // namespace

std::optional<QVariant> readToolkitProperty(const QWidget* widget, QStringView name)
{
    if (!widget)
        return std::nullopt;
    if (const auto own = ownProperty(widget, name); own && own->isReadable())
        return own->read(widget);
    if (const Property* property = findProperty(name))
        return property->read(widget);
    return std::nullopt;
}

bool writeToolkitProperty(QWidget* widget, QStringView name, const QVariant& value)
{
    if (!widget)
        return false;
    if (const auto own = ownProperty(widget, name); own && own->isWritable()) {
        const auto converted = convertForProperty(*own, value);
        return converted && own->write(widget, *converted);
    }
    if (const Property* property = findProperty(name))
        return property->write(widget, value);
    return false;
}

} // namespace nuvela
