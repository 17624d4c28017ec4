#pragma once

#include <QSize>
#include <QString>

class QWidget;

namespace nuvela {

/// The look every window starts from: the program's window font and the
/// right-to-left direction of the Hebrew captions it is designed with.
void prepareWindow(QWidget* window);

/// What every window does when it loads, in this order: scales itself and
/// its panels to the screen (the window's own screen when none is given),
/// then takes the texts of the interface language.
void loadWindow(QWidget* window, const QString& programDir, QString& language, QSize screen = {});

} // namespace nuvela
