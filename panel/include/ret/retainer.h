#pragma once

#include <QFont>
#include <QImage>
#include <QPixmap>
#include <QWidget>

#include "ret/ret_global.h"
#include "ret/state.h"

namespace ret {
class PropertyBag;
}

/// A container panel with rounded corners, a gradient background, an
/// optional gradient header band with a caption and an icon, and a border
/// ring. Place other widgets inside it. Everything it shows is driven by
/// its twenty properties; it draws only in Repaint() (on show, on resize and
/// after a property change of a loaded panel) into a kept picture that
/// paint events show.
class RET_EXPORT Retainer : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool HeaderVisible READ headerVisible WRITE setHeaderVisible)
    Q_PROPERTY(bool BackMiddleOut READ backMiddleOut WRITE setBackMiddleOut)
    Q_PROPERTY(bool HeaderMiddleOut READ headerMiddleOut WRITE setHeaderMiddleOut)
    Q_PROPERTY(qint32 HeaderAngle READ headerAngle WRITE setHeaderAngle)
    Q_PROPERTY(qint16 BackAngle READ backAngle WRITE setBackAngle)
    Q_PROPERTY(quint32 BackColor1 READ backColor1 WRITE setBackColor1)
    Q_PROPERTY(quint32 BackColor2 READ backColor2 WRITE setBackColor2)
    Q_PROPERTY(qint16 BorderThickness READ borderThickness WRITE setBorderThickness)
    Q_PROPERTY(quint32 BorderColor READ borderColor WRITE setBorderColor)
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)
    Q_PROPERTY(quint32 HeaderColor1 READ headerColor1 WRITE setHeaderColor1)
    Q_PROPERTY(quint32 HeaderColor2 READ headerColor2 WRITE setHeaderColor2)
    Q_PROPERTY(qint32 IconSize READ iconSize WRITE setIconSize)
    Q_PROPERTY(quint32 CaptionColor READ captionColor WRITE setCaptionColor)
    Q_PROPERTY(qint32 HeaderHeight READ headerHeight WRITE setHeaderHeight)
    Q_PROPERTY(QFont CaptionFont READ captionFont WRITE setCaptionFont RESET clearCaptionFont)
    Q_PROPERTY(qint32 CaptionAlignment READ captionAlignment WRITE setCaptionAlignment)
    Q_PROPERTY(QPixmap HeaderIcon READ headerIcon WRITE setHeaderIcon RESET clearHeaderIcon)
    Q_PROPERTY(qint32 Curvature READ curvature WRITE setCurvature)
    // Not designable: form compilers would turn it into QWidget::setEnabled.
    Q_PROPERTY(bool Enabled READ enabledValue WRITE setEnabledValue DESIGNABLE false)

public:
    /// Named header angles; any integer is accepted.
    enum HeaderAngleValues { Horizontal = 180, Vertical = 90 };
    Q_ENUM(HeaderAngleValues)
    /// 0 draws the icon at its own size, any other value scales it to the header.
    enum IconSizeEnum { DisplayFullSize = 0, SizeToHeader = 1 };
    Q_ENUM(IconSizeEnum)

    /// A panel as newly placed: every property at its default, the caption
    /// font taken from the parent's font.
    explicit Retainer(QWidget* parent = nullptr);
    ~Retainer() override;

    bool headerVisible() const { return state_.headerVisible; }
    bool backMiddleOut() const { return state_.backMiddleOut; }
    bool headerMiddleOut() const { return state_.headerMiddleOut; }
    qint32 headerAngle() const { return state_.headerAngle; }
    qint16 backAngle() const { return state_.backAngle; }
    quint32 backColor1() const { return state_.backColor1; }
    quint32 backColor2() const { return state_.backColor2; }
    qint16 borderThickness() const { return state_.borderThickness; }
    quint32 borderColor() const { return state_.borderColor; }
    QString caption() const { return state_.caption; }
    quint32 headerColor1() const { return state_.headerColor1; }
    quint32 headerColor2() const { return state_.headerColor2; }
    qint32 iconSize() const { return state_.iconSize; }
    quint32 captionColor() const { return state_.captionColor; }
    qint32 headerHeight() const { return state_.headerHeight; }
    /// The caption font, or a default font when there is none.
    QFont captionFont() const { return state_.captionFont.value_or(QFont()); }
    bool hasCaptionFont() const { return state_.captionFont.has_value(); }
    qint32 captionAlignment() const { return state_.captionAlignment; }
    /// The header icon, or a null pixmap when there is none.
    QPixmap headerIcon() const { return state_.headerIcon.value_or(QPixmap()); }
    bool hasHeaderIcon() const { return state_.headerIcon.has_value(); }
    qint32 curvature() const { return state_.curvature; }
    /// The kept `Enabled` flag; unrelated to QWidget::isEnabled().
    bool enabledValue() const { return state_.enabled; }

    void setHeaderVisible(bool value);
    void setBackMiddleOut(bool value);
    void setHeaderMiddleOut(bool value);
    void setHeaderAngle(qint32 value);
    /// Clamped to 0..360.
    void setBackAngle(qint16 value);
    void setBackColor1(quint32 value);
    void setBackColor2(quint32 value);
    void setBorderThickness(qint16 value);
    void setBorderColor(quint32 value);
    void setCaption(const QString& value);
    void setHeaderColor1(quint32 value);
    void setHeaderColor2(quint32 value);
    void setIconSize(qint32 value);
    void setCaptionColor(quint32 value);
    void setHeaderHeight(qint32 value);
    void setCaptionFont(const QFont& value);
    /// No caption font: the header is not drawn.
    void clearCaptionFont();
    void setCaptionAlignment(qint32 value);
    /// Takes the picture as the icon; a null pixmap is an icon without size.
    void setHeaderIcon(const QPixmap& value);
    void clearHeaderIcon();
    void setCurvature(qint32 value);
    /// Stores and reports the flag; draws nothing and changes no input.
    void setEnabledValue(bool value);

    /// All properties at once.
    const ret::PanelProperties& properties() const { return state_; }

    /// Host notifications.
    /// A new panel is placed: defaults, caption font = the host's font.
    void initProperties();
    /// A saved panel is loaded. No notification, no repaint; afterwards the
    /// panel counts as loaded and repaints after every property change.
    bool readProperties(ret::PropertyBag& bag, QString* error = nullptr);
    /// The host saves the panel.
    bool writeProperties(ret::PropertyBag& bag, QString* error = nullptr) const;

    /// True once a saved state was read; until then property changes wait
    /// for the next show or resize to appear.
    bool isLoaded() const { return loaded_; }

    /// Redraws the kept picture (not to be confused with QWidget::repaint(),
    /// which only shows it again). Does nothing for a panel that is neither
    /// loaded nor being shown or resized.
    void Repaint();

    /// The kept picture.
    const QImage& surface() const { return surface_; }

    QSize sizeHint() const override;

signals:
    /// A property changed; `name` is its name exactly ("CaptionAlignment").
    void propertyChanged(const QString& name);
    /// Mouse movement over the panel itself: Button 1 left, 2 right, 4 middle;
    /// Shift 1 shift, 2 control, 4 alt; X and Y in pixels.
    void MouseMove(qint16 Button, qint16 Shift, float X, float Y);
    /// Listed for hosts that connect to it by name; the panel never raises it.
    void Resize();

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    template <typename T>
    void change(T& field, const T& value, const char* name);
    void layoutRepaint();
    void fitSurface();
    QFont ambientFont() const;

    ret::PanelProperties state_;
    QImage surface_;
    bool loaded_ = false;
    bool layout_ = false; ///< a show or resize repaint is running
};
