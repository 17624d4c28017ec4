#include "windows/common/panels.h"

#include "windows/common/twips.h"

#include <ret/hosting.h>
#include <ret/propertybag.h>
#include <ret/retainer.h>

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
    setPanelCaption(panel, caption);
    return panel;
}

void setPanelCaption(Retainer* panel, const QString& caption)
{
    ret::setPropertyById(*panel, ret::kCaptionDispatchId, caption);
}

} // namespace nuvela
