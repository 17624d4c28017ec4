#include "windows/common/buttonplus.h"

#include "windows/common/controls.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cstdlib>

namespace nuvela {

namespace {

constexpr int kPaddingX = 8;       // caption and picture keep this from the side edges ...
constexpr int kNarrowShare = 14;   // ... but at most 1/14 of the width, so narrow buttons keep room for words
constexpr int kPaddingY = 4;       // ... and this from the top and bottom edges
constexpr int kSpacing = 6;        // between picture and caption
constexpr qreal kRadius = 6.0;     // corner radius of the face
constexpr int kSmallestPicture = 10; // screen pixels: a smaller picture is left out rather than drawn as a speck
constexpr int kFrameClearance = 3; // a caption never comes closer to the edge than this
const QColor kEmphasis(0xE0, 0x86, 0x00); // amber frame of the emphasised style

QColor mix(const QColor& a, const QColor& b, qreal amountOfB)
{
    const qreal keep = 1.0 - amountOfB;
    return QColor::fromRgbF(a.redF() * keep + b.redF() * amountOfB,
                            a.greenF() * keep + b.greenF() * amountOfB,
                            a.blueF() * keep + b.blueF() * amountOfB);
}

int wrapFlags() { return Qt::TextWordWrap | Qt::TextShowMnemonic; }

/// The ring is drawn in the highlight colour unless that hardly stands out
/// from the face (the headline colour button, which the user may make blue
/// or red): then it is white on a dark face and black on a light one.
QColor focusRingColour(const QColor& highlight, const QColor& face)
{
    constexpr int kLeastBrightnessStep = 80;
    const int faceBrightness = qGray(face.rgb());
    if (std::abs(qGray(highlight.rgb()) - faceBrightness) >= kLeastBrightnessStep)
        return highlight;
    return faceBrightness < 128 ? QColor(Qt::white) : QColor(Qt::black);
}

} // namespace

QString readableCaption(const QFontMetrics& metrics, const QString& caption, const QRect& room)
{
    const int flags = Qt::AlignHCenter | wrapFlags();
    if (room.isEmpty() || metrics.boundingRect(room, flags, caption).height() <= room.height())
        return caption;
    const int lines = std::max(1, (room.height() + metrics.leading()) / metrics.lineSpacing());
    const auto within = [&](const QString& line) {
        return metrics.elidedText(line, Qt::ElideRight, room.width(), Qt::TextShowMnemonic);
    };
    // Whole words to a line, as the wrapped drawing breaks them.
    const QStringList words = caption.split(u' ', Qt::SkipEmptyParts);
    QStringList kept;
    QString line;
    qsizetype word = 0;
    while (word < words.size() && kept.size() < lines - 1) {
        const QString longer = line.isEmpty() ? words[word] : line + u' ' + words[word];
        if (line.isEmpty() || metrics.horizontalAdvance(longer) <= room.width()) {
            line = longer;
            ++word;
            continue;
        }
        kept << within(line);
        line.clear();
    }
    QStringList rest = words.mid(word);
    if (!line.isEmpty())
        rest.prepend(line);
    kept << within(rest.join(u' '));
    return kept.join(u'\n');
}

PictureAlignment mirrored(PictureAlignment alignment)
{
    switch (alignment) {
    case PictureAlignment::LeftOfCaption: return PictureAlignment::RightOfCaption;
    case PictureAlignment::RightOfCaption: return PictureAlignment::LeftOfCaption;
    case PictureAlignment::LeftEdge: return PictureAlignment::RightEdge;
    case PictureAlignment::RightEdge: return PictureAlignment::LeftEdge;
    default: return alignment;
    }
}

ButtonPlus::ButtonPlus(QWidget* parent)
    : QAbstractButton(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

ButtonPlus::ButtonPlus(const QString& caption, QWidget* parent)
    : ButtonPlus(parent)
{
    setText(caption);
}

void ButtonPlus::setPicture(const QIcon& picture)
{
    setIcon(picture);
    updateGeometry();
    update();
}

void ButtonPlus::setPictureAlignment(PictureAlignment alignment)
{
    pictureAlignment_ = alignment;
    updateGeometry();
    update();
}

bool ButtonPlus::setPictureAlignmentNumber(int alignment)
{
    if (alignment < int(PictureAlignment::LeftOfCaption)
        || alignment > int(PictureAlignment::BelowCaption))
        return false;
    setPictureAlignment(PictureAlignment(alignment));
    return true;
}

void ButtonPlus::setBorderStyle(ButtonBorder border)
{
    border_ = border;
    update();
}

bool ButtonPlus::setBorderStyleNumber(int style)
{
    switch (style) {
    case int(ButtonBorder::None):
    case int(ButtonBorder::Normal):
    case int(ButtonBorder::Emphasised):
        setBorderStyle(ButtonBorder(style));
        return true;
    default:
        return false;
    }
}

QString ButtonPlus::tag() const { return widgetTag(this); }

void ButtonPlus::setTag(const QString& tag) { setWidgetTag(this, tag); }

QSize ButtonPlus::pictureSize(const QSize& room) const
{
    if (icon().isNull() || room.width() <= 0 || room.height() <= 0)
        return {};
    QSize natural = icon().actualSize(QSize(512, 512));
    if (natural.width() > room.width() || natural.height() > room.height())
        natural.scale(room, Qt::KeepAspectRatio);
    return natural;
}

ButtonPlus::Placement ButtonPlus::stacked(const QRect& content, const QString& caption, bool pictureAbove) const
{
    Placement placed;
    const QFontMetrics metrics = fontMetrics();
    const auto textHeightIn = [&](const QRect& room) {
        return std::min(metrics.boundingRect(room, Qt::AlignHCenter | wrapFlags(), caption).height(), room.height());
    };
    const auto pictureBeside = [&](int textHeight) {
        return pictureSize(QSize(content.width(), content.height() - textHeight - kSpacing));
    };
    // A speck is judged on the screen: on a scaled one a picture has more
    // pixels than the button's own units.
    const auto speck = [this](QSize picture) { return picture.height() * devicePixelRatioF() < kSmallestPicture; };
    QRect room = content;
    int textHeight = textHeightIn(room);
    QSize picture = pictureBeside(textHeight);
    if (speck(picture)) {
        // A caption wrapped only by the side padding would push the picture
        // out, and the button would look unlike its neighbours: it may use
        // the padding, clear of the frame and the focus ring.
        const QRect wide(kFrameClearance, content.top(), width() - 2 * kFrameClearance, content.height());
        const int wideTextHeight = textHeightIn(wide);
        if (!speck(pictureBeside(wideTextHeight))) {
            room = wide;
            textHeight = wideTextHeight;
            picture = pictureBeside(textHeight);
        }
    }
    if (speck(picture))
        picture = QSize(); // too small to tell apart: the caption alone
    const int gap = picture.isEmpty() ? 0 : kSpacing;
    const int total = picture.height() + gap + textHeight;
    const int y = content.top() + (content.height() - total) / 2;
    const int pictureX = content.left() + (content.width() - picture.width()) / 2;
    if (pictureAbove) {
        placed.picture = QRect(QPoint(pictureX, y), picture);
        placed.caption = QRect(room.left(), y + picture.height() + gap, room.width(), textHeight);
    } else {
        placed.caption = QRect(room.left(), y, room.width(), textHeight);
        placed.picture = QRect(QPoint(pictureX, y + textHeight + gap), picture);
    }
    placed.captionFlags = Qt::AlignHCenter | Qt::AlignVCenter | Qt::AlignAbsolute | wrapFlags();
    return placed;
}

bool ButtonPlus::captionFits(const QRect& room, const QString& caption) const
{
    const QFontMetrics metrics = fontMetrics();
    QString plain = caption;
    plain.remove(u'&'); // a mnemonic marker takes no room
    for (const QString& word : plain.split(u' ', Qt::SkipEmptyParts)) {
        if (metrics.horizontalAdvance(word) > room.width())
            return false;
    }
    return metrics.boundingRect(room, Qt::AlignHCenter | wrapFlags(), caption).height() <= room.height();
}

QRect ButtonPlus::captionRect() const
{
    const int border = border_ == ButtonBorder::Emphasised ? 3 : 1;
    return place(contentRect(border)).caption;
}

QRect ButtonPlus::contentRect(int border) const
{
    const int side = std::min(kPaddingX, width() / kNarrowShare) + border;
    return rect().adjusted(side, kPaddingY + border, -side, -(kPaddingY + border));
}

ButtonPlus::Placement ButtonPlus::place(const QRect& content) const
{
    Placement placed;
    const QString caption = text();
    const bool vertical = pictureAlignment_ == PictureAlignment::AboveCaption
        || pictureAlignment_ == PictureAlignment::BelowCaption;
    const QFontMetrics metrics = fontMetrics();

    if (icon().isNull() || caption.isEmpty()) {
        int flags = Qt::AlignHCenter;
        if (pictureAlignment_ == PictureAlignment::LeftEdge)
            flags = Qt::AlignLeft;
        else if (pictureAlignment_ == PictureAlignment::RightEdge)
            flags = Qt::AlignRight;
        placed.caption = content;
        placed.captionFlags = flags | Qt::AlignVCenter | Qt::AlignAbsolute | wrapFlags();
        const QSize picture = pictureSize(content.size());
        placed.picture = QRect(QPoint(0, 0), picture);
        placed.picture.moveCenter(content.center());
        return placed;
    }

    // A caption beside its picture that cannot be read there in full (a
    // word wider than its room, or more lines than the button is high) goes
    // under the picture; the picture gives up the height the caption needs.
    const bool besides = !vertical;
    if (besides) {
        const QSize picture = pictureSize(QSize(content.width() / 2, content.height()));
        const QRect room(0, 0, std::max(0, content.width() - picture.width() - kSpacing), content.height());
        if (!captionFits(room, caption))
            return stacked(content, caption, true);
    }

    if (vertical)
        return stacked(content, caption, pictureAlignment_ == PictureAlignment::AboveCaption);

    const QSize picture = pictureSize(QSize(content.width() / 2, content.height()));
    const int textRoom = std::max(0, content.width() - picture.width() - kSpacing);
    const int pictureY = content.top() + (content.height() - picture.height()) / 2;
    switch (pictureAlignment_) {
    case PictureAlignment::LeftEdge:
        placed.picture = QRect(QPoint(content.left(), pictureY), picture);
        placed.caption = QRect(placed.picture.right() + 1 + kSpacing, content.top(), textRoom,
                               content.height());
        placed.captionFlags = Qt::AlignLeft;
        break;
    case PictureAlignment::RightEdge:
        placed.picture = QRect(QPoint(content.right() + 1 - picture.width(), pictureY), picture);
        placed.caption = QRect(content.left(), content.top(), textRoom, content.height());
        placed.captionFlags = Qt::AlignRight;
        break;
    default: {
        const QRect textBox = metrics.boundingRect(QRect(0, 0, textRoom, content.height()),
                                                   Qt::AlignHCenter | wrapFlags(), caption);
        const int textWidth = std::min(textBox.width(), textRoom);
        const int total = picture.width() + kSpacing + textWidth;
        const int x = content.left() + (content.width() - total) / 2;
        if (pictureAlignment_ == PictureAlignment::RightOfCaption) {
            placed.caption = QRect(x, content.top(), textWidth, content.height());
            placed.picture = QRect(QPoint(x + textWidth + kSpacing, pictureY), picture);
        } else {
            placed.picture = QRect(QPoint(x, pictureY), picture);
            placed.caption = QRect(x + picture.width() + kSpacing, content.top(), textWidth,
                                   content.height());
        }
        placed.captionFlags = Qt::AlignHCenter;
        break;
    }
    }
    placed.captionFlags |= Qt::AlignVCenter | Qt::AlignAbsolute | wrapFlags();
    return placed;
}

void ButtonPlus::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // A painter reads text in the application's direction; a translated
    // button in a Hebrew window reads in its own.
    painter.setLayoutDirection(layoutDirection());

    const bool enabled = isEnabled();
    const bool hovered = enabled && underMouse();
    const bool pressed = isDown() || isChecked();
    const bool emphasised = border_ == ButtonBorder::Emphasised;
    const QPalette::ColorGroup group = enabled ? QPalette::Active : QPalette::Disabled;
    const QColor highlight = palette().color(QPalette::Active, QPalette::Highlight);

    QColor face = palette().color(group, QPalette::Button);
    if (!enabled)
        face = mix(face, palette().color(QPalette::Window), 0.5);
    if (emphasised && enabled)
        face = mix(face, QColor(0xFF, 0xC1, 0x40), 0.30);
    if (hovered)
        face = mix(face, highlight, 0.14);
    if (pressed)
        face = face.darker(112);

    const qreal frameWidth = emphasised ? 2.5 : 1.0;
    const QRectF outline = QRectF(rect()).adjusted(frameWidth / 2, frameWidth / 2,
                                                   -frameWidth / 2, -frameWidth / 2);
    QPainterPath shape;
    shape.addRoundedRect(outline, kRadius, kRadius);

    const bool drawFace = border_ != ButtonBorder::None || hovered || pressed || hasFocus();
    if (drawFace) {
        QLinearGradient gradient(outline.topLeft(), outline.bottomLeft());
        gradient.setColorAt(0.0, pressed ? face.darker(104) : face.lighter(112));
        gradient.setColorAt(1.0, pressed ? face.lighter(104) : face.darker(106));
        painter.fillPath(shape, gradient);

        QColor frame = emphasised ? kEmphasis : face.darker(hovered ? 170 : 150);
        if (!enabled)
            frame = mix(frame, palette().color(QPalette::Window), 0.5);
        else if (hovered && !emphasised)
            frame = mix(frame, highlight, 0.6);
        painter.setPen(QPen(frame, frameWidth));
        painter.drawPath(shape);

        // A soft inner light along the top edge gives the raised look.
        if (!pressed) {
            painter.setPen(QPen(QColor(255, 255, 255, enabled ? 110 : 60), 1.0));
            const qreal inset = frameWidth + 0.5;
            painter.drawLine(QPointF(outline.left() + kRadius, outline.top() + inset),
                             QPointF(outline.right() - kRadius, outline.top() + inset));
        }
    }

    if (hasFocus()) {
        QColor ring = focusRingColour(highlight, face);
        ring.setAlpha(220);
        const qreal inset = frameWidth + 2.0;
        painter.setPen(QPen(ring, 2.0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(outline.adjusted(inset, inset, -inset, -inset), kRadius - 2,
                                kRadius - 2);
    }

    const int border = int(frameWidth + 0.5);
    QRect content = contentRect(border);
    if (pressed)
        content.translate(0, 1);
    const Placement placed = place(content);
    if (!placed.picture.isEmpty()) {
        const QIcon::Mode mode
            = !enabled ? QIcon::Disabled : (hovered ? QIcon::Active : QIcon::Normal);
        icon().paint(&painter, placed.picture, Qt::AlignCenter, mode);
    }
    if (!text().isEmpty() && !placed.caption.isEmpty()) {
        painter.setPen(palette().color(group, QPalette::ButtonText));
        painter.drawText(placed.caption, placed.captionFlags,
                         readableCaption(painter.fontMetrics(), text(), placed.caption));
    }
}

void ButtonPlus::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && event->modifiers() == Qt::NoModifier) {
        if (!event->isAutoRepeat())
            animateClick();
        event->accept();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

QSize ButtonPlus::sizeHint() const
{
    const QFontMetrics metrics = fontMetrics();
    QSize textSize = text().isEmpty()
        ? QSize(0, 0)
        : metrics.size(Qt::TextShowMnemonic, text());
    QSize picture = icon().isNull() ? QSize(0, 0) : icon().actualSize(QSize(512, 512));
    const bool vertical = pictureAlignment_ == PictureAlignment::AboveCaption
        || pictureAlignment_ == PictureAlignment::BelowCaption;
    const int gap = (textSize.isEmpty() || picture.isEmpty()) ? 0 : kSpacing;
    QSize content = vertical
        ? QSize(std::max(textSize.width(), picture.width()), textSize.height() + gap + picture.height())
        : QSize(textSize.width() + gap + picture.width(), std::max(textSize.height(), picture.height()));
    const int border = border_ == ButtonBorder::Emphasised ? 3 : 1;
    return QSize(content.width() + 2 * (kPaddingX + border),
                 std::max(content.height() + 2 * (kPaddingY + border), 24));
}

QSize ButtonPlus::minimumSizeHint() const { return QSize(24, 24); }

} // namespace nuvela
