#include "windows/common/focusreturn.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace nuvela {

namespace {

class FocusReturn : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::WindowActivate && watched->isWidgetType())
            passToModal(static_cast<QWidget*>(watched));
        if (event->type() != QEvent::Hide || !watched->isWidgetType())
            return false;
        auto* closing = static_cast<QWidget*>(watched);
        if (!closing->isWindow() || (closing->windowType() != Qt::Window && closing->windowType() != Qt::Dialog))
            return false; // menus, tool tips and pop-ups never held the keyboard
        // Only the window that had the keyboard hands it on; a window hidden
        // while the user works elsewhere takes nothing from him.
        QWidget* active = QApplication::activeWindow();
        if (active && active != closing)
            return false;
        QPointer<QWidget> owner = closing->parentWidget() ? closing->parentWidget()->window() : nullptr;
        // Once the hide is through: the platform may still name the closed window active.
        QTimer::singleShot(0, this, [owner] {
            QWidget* now = QApplication::activeWindow();
            if (now && now->isVisible())
                return; // someone has the keyboard already
            QWidget* next = QApplication::activeModalWidget();
            if (!next)
                next = owner;
            if (next && next->isVisible())
                next->activateWindow();
        });
        return false;
    }

private:
    /// A window blocked by a message box or dialog takes no keys, so when
    /// it becomes active (without a window manager, the last window asked
    /// for it wins) the keyboard goes on to the dialog that blocks it.
    static void passToModal(QWidget* activated)
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!activated->isWindow() || !modal || modal == activated || !modal->isVisible())
            return;
        QTimer::singleShot(0, modal, [modal] {
            if (QApplication::activeWindow() != modal && QApplication::activeModalWidget() == modal)
                modal->activateWindow();
        });
    }
};

} // namespace

void returnFocusOnClose(QApplication& app)
{
    static const char* const installed = "nuvelaFocusReturn";
    if (app.property(installed).toBool())
        return;
    app.setProperty(installed, true);
    app.installEventFilter(new FocusReturn(&app));
}

} // namespace nuvela
