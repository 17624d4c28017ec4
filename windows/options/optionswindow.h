#pragma once

#include <QDialog>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QSlider;

namespace nuvela {

class ButtonPlus;
class Program;

/// The options window `optionfrm`: JPEG quality (slider `Slider` and number
/// `counter`, kept in step) and interface language (`langinter`). `update`
/// stores both in one write and relabels the open windows; nothing is
/// stored before that, and nothing at all when a value is refused or the
/// write fails (the user is told and the window stays open). Enter updates,
/// Escape closes without storing.
class OptionsWindow : public QDialog {
    Q_OBJECT
public:
    /// relabel: gives the open windows (the main window, and the output
    /// window once it is loaded) the new language at once.
    OptionsWindow(Program& program, std::function<void()> relabel, QWidget* parent = nullptr,
                  QSize screen = {});

    /// The `update` button: store, relabel, close.
    void update();

    QSlider* slider() const { return slider_; }
    QLineEdit* counter() const { return counter_; }
    QComboBox* languages() const { return langinter_; }
    ButtonPlus* updateButton() const { return update_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void build();
    void load(QSize screen);

    Program& program_;
    std::function<void()> relabel_;
    QSlider* slider_ = nullptr;
    QLineEdit* counter_ = nullptr;
    QComboBox* langinter_ = nullptr;
    ButtonPlus* update_ = nullptr;
    QLabel* msgopt_[3] = {};
    int shownQuality_ = 0;  ///< the settings as the window opened with them
    QString shownLanguage_;
};

} // namespace nuvela
