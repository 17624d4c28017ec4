#pragma once

#include <QAbstractScrollArea>

#include <type_traits>

class QFocusEvent;
class QPaintEvent;
class QWidget;

namespace nuvela {

/// Paints the ring that buttons show round the keyboard focus over the whole
/// of `widget`.
void paintFocusRing(QWidget& widget);

/// A scroll area moves the pixels of its viewport when it scrolls and paints
/// only the strip that comes into view, which would carry the ring along
/// into the middle of the list; with the ring shown the whole viewport is
/// painted anew.
template <class Control, bool = std::is_base_of_v<QAbstractScrollArea, Control>>
class RingScrolling : public Control {
public:
    using Control::Control;
};

template <class Control>
class RingScrolling<Control, true> : public Control {
public:
    using Control::Control;

protected:
    void scrollContentsBy(int dx, int dy) override
    {
        Control::scrollContentsBy(dx, dy);
        if (this->hasFocus())
            this->viewport()->update();
    }
};

/// A control that shows the keyboard focus with the buttons' ring: the style
/// marks a slider or scroll bar only by a shade of its outline (or not at
/// all), which the eye misses, and a list or a text pane only round its
/// current item, so that one without any (the gallery before a template is
/// chosen) shows nothing at all. A scroll area carries the ring on its
/// viewport, where it paints.
template <class Control>
class WithFocusRing : public RingScrolling<Control> {
public:
    using RingScrolling<Control>::RingScrolling;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        Control::paintEvent(event);
        if (this->hasFocus())
            paintFocusRing(surface());
    }
    void focusInEvent(QFocusEvent* event) override
    {
        Control::focusInEvent(event);
        surface().update();
    }
    void focusOutEvent(QFocusEvent* event) override
    {
        Control::focusOutEvent(event);
        surface().update();
    }

private:
    QWidget& surface()
    {
        if constexpr (std::is_base_of_v<QAbstractScrollArea, Control>)
            return *this->viewport();
        else
            return *this;
    }
};

} // namespace nuvela
