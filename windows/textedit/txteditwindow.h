#pragma once

#include "text/paragraph.h"
#include "windows/textedit/editrows.h"

#include <QDialog>
#include <QList>

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTextEdit;
class Retainer;

namespace nuvela {

class ButtonPlus;
class Program;
class PreviewRenderer;

/// The text editor `txtedit`: the rows of one text object in their fonts
/// and colours (or, for a paragraph, one box as wide as the object), the
/// colour, font, reset, dark-view and clear commands, and a preview of the
/// object as the page will draw it. Nothing reaches the page before
/// confirm; confirm writes the live tables and emits applied().
class TxteditWindow : public QDialog {
    Q_OBJECT
public:
    /// screen: the screen size to scale to (the window's own when empty).
    TxteditWindow(Program& program, int objectNumber, QWidget* parent = nullptr, QSize screen = {});
    ~TxteditWindow() override;

    int objectNumber() const { return n_; }
    bool paragraphMode() const { return paragraph_; }
    int rowCount() const { return int(boxes_.size()); }
    QLineEdit* rowBox(int i) const { return boxes_.value(i); }
    QCheckBox* rowCheck(int i) const { return checks_.value(i); }
    QTextEdit* paragraphBox() const { return multi_; }
    QGroupBox* paragraphFrame() const { return multiframe_; }
    QLabel* preview() const { return preview_; }
    /// Row i's guide line: where a text at its shown size reaches the
    /// object's width, so the page condenses it.
    QFrame* guide(int i = 0) const { return guides_.value(i); }
    double baseFactor() const { return base_; }
    int lineLimit() const { return lineLimit_; }
    /// The rows as they stand (texts, formats, sizes shown).
    QList<EditRow> rows() const;
    /// Lines the paragraph box shows now, as its own layout breaks them.
    QList<VisualLine> paragraphLines() const;
    /// Redraws the preview now (it follows every change by itself).
    void refreshPreview();
    /// The selection: row numbers in ticking order.
    const QList<int>& selection() const { return selection_; }

    // The commands, as the buttons run them.
    void confirm();
    void chooseColour();
    void chooseFont();
    void resetFormats();
    void clearRows();

signals:
    /// Confirm changed the live tables of the object.
    void applied();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildWidgets();
    QFrame* makeGuide(int i);
    void open();
    void addRow(int i, const EditRow& row);
    void showRow(int i);
    void rowTicked(int i, bool on);
    void setDark(bool on);
    /// After a colour, font or reset command: the formats count as changed.
    void formatsCommandDone();
    void openParagraph();
    void paragraphChanged();
    /// The frame's caption "Lines:  count/limit" (count measured when -1).
    void updateLineCounter(int count = -1);
    /// The counter in red from a refused line until the box has room again.
    void markLineLimit(bool refused);
    int paragraphLineCount() const;
    double measure(const QString& text) const;

    Program& program_;
    const int n_;
    bool colourEdit_ = false;
    bool paragraph_ = false;
    bool formatsChanged_ = false; ///< the `ROWCOL` tag "1"
    double base_ = 0.4;
    double zoom_ = 1; ///< the window's scale to its screen, for the shown fonts
    double boxWidth_ = 0; ///< the object's width, twips
    double boxHeight_ = 0;
    int lineLimit_ = 1;
    QFont paragraphFont_;
    QString acceptedParagraph_;
    int acceptedCursor_ = 0;
    bool opened_ = false;
    bool lineLimitRefused_ = false;

    QList<EditRow> rows_;
    QList<int> selection_;
    QList<QLineEdit*> boxes_;
    QList<QCheckBox*> checks_;

    Retainer* retainer1_ = nullptr;
    Retainer* retainer2_ = nullptr;
    Retainer* retainer3_ = nullptr;
    QCheckBox* checkall_ = nullptr;
    ButtonPlus* rowcol_ = nullptr;
    ButtonPlus* rowfont_ = nullptr;
    QRadioButton* reset_ = nullptr;
    QCheckBox* black_ = nullptr;
    ButtonPlus* nikuy_ = nullptr;
    ButtonPlus* updatetxt_ = nullptr;
    ButtonPlus* cansul_ = nullptr;
    QLabel* hesber_ = nullptr;
    QGroupBox* multiframe_ = nullptr;
    QTextEdit* multi_ = nullptr;
    QList<QFrame*> guides_;
    QLabel* preview_ = nullptr;
    std::unique_ptr<PreviewRenderer> renderer_;
};

} // namespace nuvela
