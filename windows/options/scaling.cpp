#include "windows/options/scaling.h"

#include "windows/common/controls.h"
#include "windows/common/toolkitproperties.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <optional>
#include <vector>

namespace nuvela {

namespace {

struct Change {
    QStringView property;
    double factor;
};

std::optional<double> number(const QWidget* widget, QStringView property)
{
    const auto value = readToolkitProperty(widget, property);
    if (!value)
        return std::nullopt;
    bool ok = false;
    const double n = value->toDouble(&ok);
    return ok ? std::optional<double>(n) : std::nullopt;
}

} // namespace

ScaleFactors scaleFactors(QSize screenPixels)
{
    return { double(screenPixels.width()) / kDesignScreen.width(),
             double(screenPixels.height()) / kDesignScreen.height() };
}

void ScaleWindow(QWidget* window, QSize screenPixels)
{
    if (!window || screenPixels.isEmpty())
        return;
    const ScaleFactors f = scaleFactors(screenPixels);
    const Change geometry[] = { { u"Left", f.x }, { u"Top", f.y }, { u"Width", f.x },
                                { u"Height", f.y } };

    struct Pending {
        QWidget* widget;
        std::optional<double> fontSize;
    };
    // Font sizes are read before any is set: a control without a font of its
    // own shows its container's, which must not be counted as scaled already.
    std::vector<Pending> controls;
    const auto all = windowControls(window);
    for (QWidget* widget : all) {
        if (widget->objectName() == u"Pic")
            continue;
        controls.push_back({ widget, number(widget, u"FontSize") });
    }

    for (const Pending& control : controls) {
        for (const Change& change : geometry) {
            if (const auto value = number(control.widget, change.property))
                writeToolkitProperty(control.widget, change.property, *value * change.factor);
        }
        if (control.fontSize)
            writeToolkitProperty(control.widget, u"FontSize", *control.fontSize * f.y * kFontScale);
    }

    for (const Change& change : geometry) {
        if (const auto value = number(window, change.property))
            writeToolkitProperty(window, change.property, *value * change.factor);
    }
}

void ScaleWindow(QWidget* window)
{
    if (!window)
        return;
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (screen)
        ScaleWindow(window, screen->size());
}

} // namespace nuvela
