#include "windows/options/windowload.h"

#include "windows/common/panels.h"
#include "windows/options/language.h"
#include "windows/options/scaling.h"

#include <QScreen>
#include <QWidget>

namespace nuvela {

// The face and size the windows are laid out for at 800 × 600.
constexpr double kWindowFontPoints = 9;

void prepareWindow(QWidget* window)
{
    window->setLayoutDirection(Qt::RightToLeft);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(kWindowFontPoints);
    window->setFont(font);
}

void loadWindow(QWidget* window, const QString& programDir, QString& language, QSize screen)
{
    if (!screen.isValid())
        screen = window->screen() ? window->screen()->size() : kDesignScreen;
    ScaleWindow(window, screen);
    ApplyLanguage(window, programDir, language);
}

} // namespace nuvela
