// Language files on arbitrary bytes: a window's section read as the program
// reads it and applied to a window with one widget of each kind.
#include "store/inidocument.h"
#include "windows/common/buttonplus.h"
#include "windows/options/language.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>

#include <cstdint>

namespace {

QWidget* window = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    new QApplication(*argc, *argv);
    window = new QWidget;
    window->setObjectName(QStringLiteral("article"));
    const QList<std::pair<QWidget*, const char*>> children = {
        {new QLabel(window), "title"},       {new QCheckBox(window), "kotxt"},
        {new QRadioButton(window), "picstat"}, {new QScrollBar(window), "Scroll"},
        {new nuvela::ButtonPlus(window), "savetxt"}, {new QCheckBox(window), "flip"},
    };
    for (const auto& [w, name] : children)
        w->setObjectName(QLatin1String(name));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const nuvela::IniDocument doc(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    const QStringList lines = nuvela::linesWithinBuffer(doc.sectionLines(u"article").value_or(QList<QString>()));
    for (const QString& line : lines)
        if (const auto entry = nuvela::parseLanguageEntry(line))
            (void)nuvela::applyLanguageEntry(window, *entry);
    return 0;
}
