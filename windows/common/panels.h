#pragma once

#include <QString>

class QWidget;
class Retainer;

namespace nuvela {

/// Places a widget at design pixels of the 800 × 600 layout (kept in twips,
/// so screen scaling can stretch it exactly).
void place(QWidget* widget, double x, double y, double w, double h);

/// A captioned gradient panel of the program's windows, as a window
/// description would load it: with a saved state, so later changes repaint at
/// once. The caption is set through the panel's dispatch identifier, the way
/// the program addresses panels.
Retainer* makePanel(QWidget* parent, const QString& name, const QString& caption,
                    bool headerVisible = true);

/// Sets a panel's caption through its dispatch identifier.
void setPanelCaption(Retainer* panel, const QString& caption);

} // namespace nuvela
