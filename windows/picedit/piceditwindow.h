#pragma once

#include "windows/picedit/framing.h"
#include "windows/picedit/picturefile.h"

#include <QDialog>
#include <QImage>

class QCheckBox;
class QLabel;
class QRadioButton;
class QScrollBar;

namespace nuvela {

class ButtonPlus;
class Program;

/// The picture editor `picedit`: fits one picture file into the frame of
/// picture object n. The view `picImage` has exactly the frame's size and
/// shows what will be saved; the mode buttons, zoom, pan bars, mouse drag
/// and wheel and the mirror switch change it. Applying records the result on
/// the picture overlay's tag (the caller then marks the page modified and
/// redraws it); closing changes nothing.
class PiceditWindow : public QDialog {
    Q_OBJECT
public:
    /// objectNumber is the window's tag, sourcePath the tag of `orginal`,
    /// as the opener hands them over. The frame is read and the picture
    /// loaded here, once per opening.
    PiceditWindow(Program& program, int objectNumber, const QString& sourcePath,
                  QWidget* parent = nullptr, QSize screen = {});
    ~PiceditWindow() override;

    const Framing& framing() const { return framing_; }
    bool isMirrored() const;
    bool hasPicture() const { return !pyramid_.isNull(); }

    /// What the view shows right now, at its pixel size.
    const QImage& viewImage() const { return shown_; }

    // Actions of the buttons, also for tests.
    /// `putpic`: writes the picture and closes; false (the window stays
    /// open, the overlay unchanged) when the picture could not be written.
    bool apply();
    /// `loadpic`: another picture file for the same frame.
    void loadOther();

    QWidget* view() const;
    /// What the view says instead of a picture, "" while it shows one.
    QString viewMessage() const;
    QWidget* preview() const;
    QRadioButton* modeButton(int i) const { return picstat_[i]; }
    QCheckBox* mirrorBox() const { return flip_; }
    QScrollBar* zoomBar() const { return zoom_; }
    QScrollBar* horizontalBar() const { return scrollh_; }
    QScrollBar* verticalBar() const { return scrollv_; }
    QLabel* sizeLabel() const { return siz_; }
    ButtonPlus* applyButton() const { return putpic_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    class FrameView;
    class Preview;

    void buildWidgets();
    void activate();
    void loadSource();
    void rebuildPyramid();
    void chooseMode(int i);
    void zoomChanged(int value);
    void barMoved();
    void panBy(double dxPixels, double dyPixels);
    void zoomBy(int tenths);
    void syncBars();
    void draw();
    void showMessage(const QString& text);

    Program& program_;
    int objectNumber_;
    Framing framing_;
    EditorPicture picture_;
    PicturePyramid pyramid_;
    double viewScale_ = 1.0 / 15; ///< view pixels per twip
    QImage shown_;
    bool syncing_ = false; ///< bars and buttons being set by the editor itself

    FrameView* picImage_ = nullptr;
    Preview* orginal_ = nullptr;
    QRect holderRect_; ///< where the view and its bars may go, in pixels
    QWidget* frame1_ = nullptr;
    QWidget* frame2_ = nullptr;
    QRadioButton* picstat_[4] = {};
    QCheckBox* flip_ = nullptr;
    QScrollBar* zoom_ = nullptr;
    QScrollBar* scrollh_ = nullptr;
    QScrollBar* scrollv_ = nullptr;
    QLabel* label1_ = nullptr;
    QLabel* siz_ = nullptr;
    ButtonPlus* loadpic_ = nullptr;
    ButtonPlus* putpic_ = nullptr;
    ButtonPlus* cansul_ = nullptr;
};

} // namespace nuvela
