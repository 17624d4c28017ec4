#pragma once

class QApplication;

namespace nuvela {

/// When a window of the program closes while it has the keyboard, the window
/// it belongs to (or the modal window still open) gets the keyboard back.
/// Without a window manager nobody else does this: the X server hands the
/// focus to the root window and every key is lost until the user clicks.
/// Installed once per application; further calls do nothing.
void returnFocusOnClose(QApplication& app);

} // namespace nuvela
