#pragma once

#include <QAbstractButton>
#include <QIcon>

namespace nuvela {

/// Where a ButtonPlus draws its picture relative to its caption. The values
/// are absolute: they do not mirror with the right-to-left setting.
enum class PictureAlignment : int {
    LeftOfCaption = 0,  ///< picture, then caption; the pair centred
    RightOfCaption = 1, ///< caption, then picture; the pair centred
    AboveCaption = 2,   ///< picture over the caption, both centred
    LeftEdge = 3,       ///< picture at the left edge, caption left-aligned after it
    RightEdge = 4,      ///< picture at the right edge, caption right-aligned before it
    BelowCaption = 5,   ///< caption over the picture, both centred
};

/// The same placement seen in a mirror: left and right swap, above and
/// below stay. A translated button mirrors its Hebrew design this way.
PictureAlignment mirrored(PictureAlignment alignment);

/// The caption as it can be read in `room`: whole lines from its start, the
/// last of them ending in "…" when the rest does not fit.
QString readableCaption(const QFontMetrics& metrics, const QString& caption, const QRect& room);

/// Border styles the program uses.
enum class ButtonBorder : int {
    None = 0,       ///< flat until hovered
    Normal = 1,     ///< the ordinary raised button
    Emphasised = 5, ///< calls attention: bold amber frame and warm fill
};

/// The program's image button: a caption with an optional picture, hover and
/// press feedback, a focus ring, and activation by mouse, Space, Enter or its
/// "&" mnemonic. The back colour is the palette's Button role, the caption
/// colour its ButtonText role. Its tag is the shared "Tag" property.
class ButtonPlus : public QAbstractButton {
    Q_OBJECT

public:
    explicit ButtonPlus(QWidget* parent = nullptr);
    explicit ButtonPlus(const QString& caption, QWidget* parent = nullptr);

    QString caption() const { return text(); }
    void setCaption(const QString& caption) { setText(caption); }

    QIcon picture() const { return icon(); }
    /// The picture is drawn at its own size, reduced when the button is smaller.
    void setPicture(const QIcon& picture);

    PictureAlignment pictureAlignment() const { return pictureAlignment_; }
    void setPictureAlignment(PictureAlignment alignment);
    /// Accepts the numbers of PictureAlignment; false for any other number.
    bool setPictureAlignmentNumber(int alignment);

    ButtonBorder borderStyle() const { return border_; }
    void setBorderStyle(ButtonBorder border);
    /// Accepts 0, 1 and 5; false for any other number.
    bool setBorderStyleNumber(int style);

    QString tag() const;
    void setTag(const QString& tag);

    /// Where the caption is drawn at the button's present size. A caption
    /// that cannot be read beside its picture is placed under it.
    QRect captionRect() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct Placement {
        QRect picture;
        QRect caption;
        int captionFlags = 0;
    };
    QRect contentRect(int border) const;
    Placement place(const QRect& content) const;
    Placement stacked(const QRect& content, const QString& caption, bool pictureAbove) const;
    bool captionFits(const QRect& room, const QString& caption) const;
    QSize pictureSize(const QSize& room) const;

    PictureAlignment pictureAlignment_ = PictureAlignment::LeftOfCaption;
    ButtonBorder border_ = ButtonBorder::Normal;
};

} // namespace nuvela
