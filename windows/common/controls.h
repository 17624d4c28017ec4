#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

class QObject;
class QWidget;

namespace nuvela {

/// A window's controls are its descendant widgets that carry an object name:
/// the names the windows are built with (`tavnit`, `nav`, `Pic`, ...). Unnamed
/// widgets and the "qt_" internals of Qt's composite widgets are parts of
/// their control, and other windows (popups, dialogs) belong to themselves.
///
/// Widget arrays: every element has the array's name as object name and its
/// element number in the dynamic property "Index" (`nav` 0 to 3 are four
/// widgets named "nav" with Index 0, 1, 2, 3). A widget without "Index" is a
/// plain control.
///
/// Names are compared without regard to case, as the window toolkit does.

inline constexpr char kIndexProperty[] = "Index";
/// Dynamic property that overrides the toolkit type name of a widget, for a
/// plain Qt widget that plays another part (a QLabel showing a picture is an
/// "Image", a drawing surface a "PictureBox").
inline constexpr char kToolkitTypeProperty[] = "toolkitType";
/// The tag: free text that the program keeps on a widget.
inline constexpr char kTagProperty[] = "Tag";

/// Names the widget as element `index` of the array `name`.
void makeArrayElement(QWidget* widget, const QString& name, int index);
/// The element number of an array element; std::nullopt for a plain control.
std::optional<int> arrayIndex(const QWidget* widget);

/// Every control of the window, in creation order.
QList<QWidget*> windowControls(QWidget* window);
/// The plain control of that name (not an array element); nullptr when none.
QWidget* findControl(QWidget* window, QStringView name);
/// Element `index` of the array `name`; nullptr when there is none.
QWidget* findArrayElement(QWidget* window, QStringView name, int index);
/// All elements of the array `name`, by element number.
QList<QWidget*> arrayElements(QWidget* window, QStringView name);

/// The window toolkit's type name of the widget: "Form", "Label", "CheckBox",
/// "OptionButton", "CommandButton", "ButtonPlus", "TextBox", "ComboBox",
/// "ListBox", "HScrollBar", "VScrollBar", "Slider", "Frame", "Image",
/// "PictureBox", "WebBrowser", "Retainer", ... The "toolkitType" property wins.
QString toolkitTypeName(const QWidget* widget);

/// Tab crosses a row of side-by-side controls (given from left to right,
/// already next to each other in the Tab chain) the way the interface language
/// reads (the application's direction): from the right in Hebrew, from the
/// left otherwise. The windows are laid out once for both directions, so the
/// order follows each language switch.
void tabRowInReadingOrder(const QList<QWidget*>& leftToRight);

QString widgetTag(const QObject* object);
void setWidgetTag(QObject* object, const QString& tag);

} // namespace nuvela
