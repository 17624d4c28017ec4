#include "ret/retainer.h"

#include "ret/panelpaint.h"
#include "ret/propertybag.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

Retainer::Retainer(QWidget* parent)
    : QWidget(parent)
{
    // The kept picture covers the panel; nothing beneath needs painting.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Hosts hear of mouse movement whether or not a button is held.
    setMouseTracking(true);
    initProperties();
}

Retainer::~Retainer() = default;

QFont Retainer::ambientFont() const
{
    return parentWidget() ? parentWidget()->font() : QApplication::font();
}

void Retainer::initProperties()
{
    state_ = ret::PanelProperties();
    state_.captionFont = ambientFont();
}

bool Retainer::readProperties(ret::PropertyBag& bag, QString* error)
{
    if (!ret::readState(state_, bag, ambientFont(), error))
        return false;
    loaded_ = true;
    return true;
}

bool Retainer::writeProperties(ret::PropertyBag& bag, QString* error) const
{
    return ret::writeState(state_, bag, ambientFont(), error);
}

template <typename T>
void Retainer::change(T& field, const T& value, const char* name)
{
    field = value;
    emit propertyChanged(QString::fromLatin1(name));
    Repaint();
}

void Retainer::setHeaderVisible(bool v) { change(state_.headerVisible, v, "HeaderVisible"); }
void Retainer::setBackMiddleOut(bool v) { change(state_.backMiddleOut, v, "BackMiddleOut"); }
void Retainer::setHeaderMiddleOut(bool v) { change(state_.headerMiddleOut, v, "HeaderMiddleOut"); }
void Retainer::setHeaderAngle(qint32 v) { change(state_.headerAngle, v, "HeaderAngle"); }
void Retainer::setBackAngle(qint16 v) { change(state_.backAngle, ret::clampBackAngle(v), "BackAngle"); }
void Retainer::setBackColor1(quint32 v) { change(state_.backColor1, v, "BackColor1"); }
void Retainer::setBackColor2(quint32 v) { change(state_.backColor2, v, "BackColor2"); }
void Retainer::setBorderThickness(qint16 v) { change(state_.borderThickness, v, "BorderThickness"); }
void Retainer::setBorderColor(quint32 v) { change(state_.borderColor, v, "BorderColor"); }
void Retainer::setCaption(const QString& v) { change(state_.caption, v, "Caption"); }
void Retainer::setHeaderColor1(quint32 v) { change(state_.headerColor1, v, "HeaderColor1"); }
void Retainer::setHeaderColor2(quint32 v) { change(state_.headerColor2, v, "HeaderColor2"); }
void Retainer::setIconSize(qint32 v) { change(state_.iconSize, v, "IconSize"); }
void Retainer::setCaptionColor(quint32 v) { change(state_.captionColor, v, "CaptionColor"); }
void Retainer::setHeaderHeight(qint32 v) { change(state_.headerHeight, v, "HeaderHeight"); }
void Retainer::setCaptionFont(const QFont& v)
{
    change(state_.captionFont, std::optional<QFont>(v), "CaptionFont");
}
void Retainer::clearCaptionFont() { change(state_.captionFont, std::optional<QFont>(), "CaptionFont"); }
void Retainer::setCaptionAlignment(qint32 v) { change(state_.captionAlignment, v, "CaptionAlignment"); }
void Retainer::setHeaderIcon(const QPixmap& v)
{
    change(state_.headerIcon, std::optional<QPixmap>(v), "HeaderIcon");
}
void Retainer::clearHeaderIcon() { change(state_.headerIcon, std::optional<QPixmap>(), "HeaderIcon"); }
void Retainer::setCurvature(qint32 v) { change(state_.curvature, v, "Curvature"); }

void Retainer::setEnabledValue(bool v)
{
    state_.enabled = v;
    emit propertyChanged(QStringLiteral("Enabled"));
}

void Retainer::fitSurface()
{
    if (surface_.size() == size())
        return;
    // Like the platform's kept picture: what was drawn stays at the top left.
    QImage resized(size(), QImage::Format_RGB32);
    resized.fill(palette().color(QPalette::Window));
    if (!surface_.isNull() && !resized.isNull()) {
        QPainter painter(&resized);
        painter.drawImage(0, 0, surface_);
    }
    surface_ = resized;
}

void Retainer::Repaint()
{
    if (!loaded_ && !layout_)
        return;
    fitSurface();
    setMask(ret::paintPanel(surface_, state_, palette()));
    update();
}

void Retainer::layoutRepaint()
{
    layout_ = true;
    Repaint();
    layout_ = false;
}

QSize Retainer::sizeHint() const { return QSize(200, 120); }

void Retainer::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect area = event->rect();
    painter.fillRect(area, palette().color(QPalette::Window));
    const qreal ratio = devicePixelRatioF();
    if (ratio == 1.0 || surface_.isNull()) {
        painter.drawImage(area.topLeft(), surface_, area);
        return;
    }
    // A scaled screen would blow the kept picture up and blur the caption:
    // the panel is drawn once more for the screen's own pixels (not kept, so
    // the class keeps its size for programs built against it).
    const QImage shown = ret::paintPanelForScreen(state_, palette(), surface_.size(), ratio);
    painter.drawImage(QRectF(area), shown, QRectF(QPointF(area.topLeft()) * ratio, QSizeF(area.size()) * ratio));
}

void Retainer::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    layoutRepaint();
}

void Retainer::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutRepaint();
}

void Retainer::mouseMoveEvent(QMouseEvent* event)
{
    qint16 button = 0;
    if (event->buttons() & Qt::LeftButton)
        button |= 1;
    if (event->buttons() & Qt::RightButton)
        button |= 2;
    if (event->buttons() & Qt::MiddleButton)
        button |= 4;
    qint16 shift = 0;
    if (event->modifiers() & Qt::ShiftModifier)
        shift |= 1;
    if (event->modifiers() & Qt::ControlModifier)
        shift |= 2;
    if (event->modifiers() & Qt::AltModifier)
        shift |= 4;
    const QPointF at = event->position();
    emit MouseMove(button, shift, float(at.x()), float(at.y()));
}
