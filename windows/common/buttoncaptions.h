#pragma once

class QApplication;

namespace nuvela {

/// Buttons with a picture and a caption (the Yes, No and OK of message
/// boxes, the buttons of Qt's file and colour dialogs) keep the caption next
/// to the picture when they read from the right. Qt 6.4 draws the caption at
/// the button's far left edge there, away from its picture and often against
/// the border. Installed once per application; further calls do nothing.
void keepCaptionsBesidePictures(QApplication& app);

} // namespace nuvela
