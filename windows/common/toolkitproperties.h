#pragma once

#include <QStringView>
#include <QVariant>

#include <optional>

class QWidget;

namespace nuvela {

/// Widget properties by the window toolkit's names, so that language files,
/// window descriptions and screen scaling can address any widget without
/// knowing its class. Names are matched without regard to case:
///
///   Caption      label, button, group box, panel caption; a window's title
///   Text         text box, combo box (an editable one takes any text)
///   ToolTipText, Tag, Visible, Enabled        every widget
///   RightToLeft  reading order and layout direction of that widget alone
///   Alignment    0 left, 1 right, 2 centre (labels, text boxes); check and
///                option buttons: 1 puts the box on the right
///   Left, Top, Width, Height   twips (15 to a pixel), exact (see twips.h)
///   BackColor, ForeColor       colour numbers 0x00BBGGRR or system colours
///   Value        check box 0/1/2, option button True/False, scroll bar, slider
///   Min, Max, SmallChange, LargeChange         scroll bars and sliders
///   PictureAlignment           ButtonPlus (see PictureAlignment)
///   BorderStyle  ButtonPlus 0/1/5; labels, frames and text boxes 0 none, 1 single
///   FontSize (also "font.size"), FontName (also "Font"), FontBold
///   Name, Index  read only
///
/// A property that the widget's own class declares as a Q_PROPERTY under the
/// toolkit's exact name (the panel `Retainer`'s "Caption") is used first.
///
/// Values may be text, read as U.S. English text is (textvalue.h). Reading
/// an unknown property gives std::nullopt; writing one, or a value that does
/// not convert or that the widget refuses, gives false and changes nothing.

std::optional<QVariant> readToolkitProperty(const QWidget* widget, QStringView name);
bool writeToolkitProperty(QWidget* widget, QStringView name, const QVariant& value);

} // namespace nuvela
