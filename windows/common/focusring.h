#pragma once

class QPaintEvent;
class QWidget;

namespace nuvela {

/// Paints the ring that buttons show round the keyboard focus over the whole
/// of `widget`.
void paintFocusRing(QWidget& widget);

/// A slider or scroll bar that shows the keyboard focus with the buttons'
/// ring: the style marks it only by a shade of its outline (or not at all),
/// which the eye misses.
template <class Control>
class WithFocusRing : public Control {
public:
    using Control::Control;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        Control::paintEvent(event);
        if (this->hasFocus())
            paintFocusRing(*this);
    }
};

} // namespace nuvela
