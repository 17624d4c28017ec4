#include "windows/common/buttoncaptions.h"

#include <QApplication>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOptionButton>

namespace nuvela {

namespace {

/// Qt aligns such a caption to the right of the room left of the picture but
/// leaves the alignment relative, so a painter set right to left turns it to
/// the left. Made absolute while the caption is drawn, it stays by the picture.
class CaptionBesidePictureStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override
    {
        const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
        const bool besidePicture = element == CE_PushButtonLabel && button && !button->icon.isNull()
            && !button->text.isEmpty() && button->direction == Qt::RightToLeft;
        drawingBesidePicture_ = besidePicture;
        QProxyStyle::drawControl(element, option, painter, widget);
        drawingBesidePicture_ = false;
    }

    void drawItemText(QPainter* painter, const QRect& rect, int flags, const QPalette& palette, bool enabled,
                      const QString& text, QPalette::ColorRole textRole) const override
    {
        if (drawingBesidePicture_ && (flags & Qt::AlignRight))
            flags |= Qt::AlignAbsolute;
        QProxyStyle::drawItemText(painter, rect, flags, palette, enabled, text, textRole);
    }

private:
    mutable bool drawingBesidePicture_ = false;
};

} // namespace

void keepCaptionsBesidePictures(QApplication& app)
{
    if (dynamic_cast<CaptionBesidePictureStyle*>(app.style()))
        return;
    // The style the application chose (on the command line, say) stays underneath.
    app.setStyle(new CaptionBesidePictureStyle(QStyleFactory::create(app.style()->name())));
}

} // namespace nuvela
