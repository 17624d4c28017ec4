#include "windows/common/controls.h"

#include "windows/common/buttonplus.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QTextBrowser>
#include <QTextEdit>
#include <QToolButton>

#include <algorithm>

namespace nuvela {

void makeArrayElement(QWidget* widget, const QString& name, int index)
{
    widget->setObjectName(name);
    widget->setProperty(kIndexProperty, index);
}

std::optional<int> arrayIndex(const QWidget* widget)
{
    const QVariant index = widget->property(kIndexProperty);
    if (!index.isValid())
        return std::nullopt;
    bool ok = false;
    const int number = index.toInt(&ok);
    return ok ? std::optional<int>(number) : std::nullopt;
}

QList<QWidget*> windowControls(QWidget* window)
{
    QList<QWidget*> controls;
    const auto descendants = window->findChildren<QWidget*>();
    for (QWidget* widget : descendants) {
        const QString name = widget->objectName();
        if (name.isEmpty() || name.startsWith(u"qt_") || widget->isWindow())
            continue;
        controls.append(widget);
    }
    return controls;
}

QWidget* findControl(QWidget* window, QStringView name)
{
    const auto controls = windowControls(window);
    for (QWidget* widget : controls) {
        if (!arrayIndex(widget) && widget->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return widget;
    }
    return nullptr;
}

QList<QWidget*> arrayElements(QWidget* window, QStringView name)
{
    QList<QWidget*> elements;
    const auto controls = windowControls(window);
    for (QWidget* widget : controls) {
        if (arrayIndex(widget) && widget->objectName().compare(name, Qt::CaseInsensitive) == 0)
            elements.append(widget);
    }
    std::stable_sort(elements.begin(), elements.end(),
                     [](const QWidget* a, const QWidget* b) { return *arrayIndex(a) < *arrayIndex(b); });
    return elements;
}

QWidget* findArrayElement(QWidget* window, QStringView name, int index)
{
    const auto elements = arrayElements(window, name);
    for (QWidget* widget : elements) {
        if (*arrayIndex(widget) == index)
            return widget;
    }
    return nullptr;
}

QString toolkitTypeName(const QWidget* widget)
{
    const QVariant explicitType = widget->property(kToolkitTypeProperty);
    if (explicitType.isValid() && !explicitType.toString().isEmpty())
        return explicitType.toString();
    // The panel of library Ret is recognised by its class name alone, so this
    // layer needs no link to that library.
    const QString className = QString::fromLatin1(widget->metaObject()->className());
    if (className == u"Retainer")
        return className;
    if (widget->isWindow())
        return QStringLiteral("Form");
    if (qobject_cast<const ButtonPlus*>(widget))
        return QStringLiteral("ButtonPlus");
    if (qobject_cast<const QCheckBox*>(widget))
        return QStringLiteral("CheckBox");
    if (qobject_cast<const QRadioButton*>(widget))
        return QStringLiteral("OptionButton");
    if (qobject_cast<const QPushButton*>(widget) || qobject_cast<const QToolButton*>(widget))
        return QStringLiteral("CommandButton");
    if (qobject_cast<const QLabel*>(widget))
        return QStringLiteral("Label");
    if (qobject_cast<const QTextBrowser*>(widget))
        return QStringLiteral("WebBrowser");
    if (qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QTextEdit*>(widget)
        || qobject_cast<const QPlainTextEdit*>(widget))
        return QStringLiteral("TextBox");
    if (qobject_cast<const QComboBox*>(widget))
        return QStringLiteral("ComboBox");
    if (qobject_cast<const QListView*>(widget))
        return QStringLiteral("ListBox");
    if (auto bar = qobject_cast<const QScrollBar*>(widget))
        return bar->orientation() == Qt::Horizontal ? QStringLiteral("HScrollBar")
                                                    : QStringLiteral("VScrollBar");
    if (qobject_cast<const QSlider*>(widget))
        return QStringLiteral("Slider");
    if (qobject_cast<const QGroupBox*>(widget) || qobject_cast<const QFrame*>(widget))
        return QStringLiteral("Frame");
    return QStringLiteral("PictureBox");
}

void tabRowInReadingOrder(const QList<QWidget*>& leftToRight)
{
    if (leftToRight.isEmpty())
        return;
    QList<QWidget*> row = leftToRight;
    if (QGuiApplication::layoutDirection() == Qt::RightToLeft)
        std::reverse(row.begin(), row.end());
    for (qsizetype i = 1; i < row.size(); ++i)
        QWidget::setTabOrder(row[i - 1], row[i]);
}

QString widgetTag(const QObject* object) { return object->property(kTagProperty).toString(); }

void setWidgetTag(QObject* object, const QString& tag) { object->setProperty(kTagProperty, tag); }

} // namespace nuvela
