#include "windows/common/panels.h"

#include "windows/common/twips.h"

#include <ret/hosting.h>
#include <ret/propertybag.h>
#include <ret/retainer.h>

#include <QPalette>

namespace nuvela {

void place(QWidget* widget, double x, double y, double w, double h)
{
    setTwipsGeometry(widget, QRectF(pixelsToTwips(x), pixelsToTwips(y), pixelsToTwips(w), pixelsToTwips(h)));
}

namespace {
// The look of the program's panels: a soft blue body, a lighter header and
// gently rounded corners; everything else stays at the panel's defaults.
const QString kPanelState = QStringLiteral(
    "HeaderHeight = 24\n"
    "Curvature = 14\n"
    "IconSize = 0\n"
    "CaptionAlignment = 2\n");
const QColor kDisabledCaption(48, 53, 80);
} // namespace

Retainer* makePanel(QWidget* parent, const QString& name, const QString& caption, bool headerVisible)
{
    auto* panel = new Retainer(parent);
    panel->setObjectName(name);
    if (auto state = ret::TextPropertyBag::fromText(kPanelState))
        panel->readProperties(*state);
    panel->setHeaderVisible(headerVisible);
    QFont font = parent ? parent->font() : QFont();
    font.setBold(true);
    panel->setCaptionFont(font);
    // The toolkit's grey for a disabled caption (of a label, a check or an
    // option) all but vanishes on the body's light band; a dark slate reads
    // on the light and the dark bands alike and is still lighter than an
    // enabled caption. Buttons draw on their own faces and keep their grey.
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Disabled, QPalette::WindowText, kDisabledCaption);
    panel->setPalette(palette);
    setPanelCaption(panel, caption);
    return panel;
}

void setPanelCaption(Retainer* panel, const QString& caption)
{
    ret::setPropertyById(*panel, ret::kCaptionDispatchId, caption);
}

} // namespace nuvela
