#pragma once

#include <QDialog>
#include <QImage>

class QComboBox;
class QLabel;
class QRadioButton;
class QScrollBar;

namespace nuvela {

class ButtonPlus;
class Program;

/// The output window `picform`: the page fitted into the window or at full
/// size with scroll bars, saved as a JPEG or bitmap file, or printed. Shown
/// modally from the main window; it keeps its canvas position between
/// showings.
class PicformWindow : public QDialog {
    Q_OBJECT
public:
    /// Loading the window adds the program folder's fonts for the run, then
    /// scales it to the screen and applies the interface language.
    PicformWindow(Program& program, QWidget* parent = nullptr, QSize screen = {});

    /// `makesmall`: hides the full-size canvas and both scroll bars.
    void makesmall();
    /// `Res`: 0 shows the page fitted, 1 at full size with scroll bars;
    /// any other mode does nothing.
    void Res(int mode);
    /// The mode of the preview option (`showme`), 0 fitted or 1 full size.
    int previewMode() const;
    /// Texts the window builds itself (not by widget name) follow a new
    /// interface language.
    void relabelOwnTexts();

    // Actions of the window's buttons, also for tests.
    void savePicture();
    void printPicture();

    QScrollBar* horizontalBar() const { return hbar_; }
    QScrollBar* verticalBar() const { return vbar_; }
    QLabel* fullSizeCanvas() const { return pic_; }
    /// The viewport `Picout`, which takes the wheel and keys in full size.
    QWidget* viewport() const;
    /// The canvas position a full-size bar stands for, in twips (0 or less
    /// for a page larger than the viewport).
    static int canvasOffset(const QScrollBar* bar);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class Viewport;
    void showMessage(const QString& text);
    void placeCanvas();

    Program& program_;
    Viewport* picout_ = nullptr;
    QLabel* pic_ = nullptr;
    QScrollBar* hbar_ = nullptr;
    QScrollBar* vbar_ = nullptr;
    QRadioButton* showme_[2] = {};
    QComboBox* dpi_ = nullptr;
};

} // namespace nuvela
