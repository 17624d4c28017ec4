#include <ret/retainer.h>
#include "support/testdirs.h"
#include "windows/common/buttonplus.h"
#include "windows/common/controls.h"
#include "windows/common/toolkitproperties.h"
#include "windows/options/language.h"
#include "windows/options/sectionreader.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QStringDecoder>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>

using namespace nuvela;

namespace {

// The widgets of the five windows, by the names they are built with; arrays
// with their highest element number.
struct KnownWidget {
    const char* window;
    const char* name;
    const char* kind;
    int lastIndex = -1; ///< -1 for a plain widget
};

const KnownWidget kWidgets[] = {
    { "article", "tavnit", "ListBox" },       { "article", "title", "Retainer" },
    { "article", "prev", "PictureBox" },      { "article", "Frview", "Retainer" },
    { "article", "Frversion", "Retainer" },   { "article", "katava", "Label", 0 },
    { "article", "gpic", "Image", 0 },        { "article", "kotxt", "CheckBox" },
    { "article", "chedit", "CheckBox" },      { "article", "Coll", "CommandButton" },
    { "article", "Scroll", "HScrollBar" },    { "article", "count1", "Label" },
    { "article", "savetxt", "ButtonPlus" },   { "article", "updttxt", "ButtonPlus" },
    { "article", "deltext", "ButtonPlus" },   { "article", "showme", "ButtonPlus" },
    { "article", "proper", "ButtonPlus" },    { "article", "cmdExit1", "ButtonPlus" },
    { "article", "nav", "ButtonPlus", 3 },    { "article", "Web", "WebBrowser" },
    { "article", "Pickoteret", "PictureBox" }, { "article", "nopic", "PictureBox" },
    { "article", "version", "Label" },       { "article", "msgver", "Label", 2 },

    { "picform", "Pic", "PictureBox" },       { "picform", "Picout", "PictureBox" },
    { "picform", "Hbar", "HScrollBar" },      { "picform", "Vbar", "VScrollBar" },
    { "picform", "showme", "OptionButton", 1 }, { "picform", "cmdSave", "ButtonPlus" },
    { "picform", "printo", "ButtonPlus" },    { "picform", "editpage", "ButtonPlus" },
    { "picform", "cmdExit", "ButtonPlus" },   { "picform", "edittemp", "Label" },
    { "picform", "version", "Label" },        { "picform", "credit", "Label" },
    { "picform", "Frame1", "Frame" },         { "picform", "Retainer1", "Retainer" },
    { "picform", "Retainer2", "Retainer" },   { "picform", "dpilabel", "Label" },
    { "picform", "dpi", "ComboBox" },

    { "txtedit", "txtwrit", "TextBox", 9 },   { "txtedit", "Checkk", "CheckBox", 9 },
    { "txtedit", "Checkall", "CheckBox" },    { "txtedit", "ROWCOL", "ButtonPlus" },
    { "txtedit", "rowfont", "ButtonPlus" },   { "txtedit", "RESET", "OptionButton" },
    { "txtedit", "black", "CheckBox" },       { "txtedit", "nikuy", "ButtonPlus" },
    { "txtedit", "updatetxt", "ButtonPlus" }, { "txtedit", "cansul", "ButtonPlus" },
    { "txtedit", "hesber", "Label" },         { "txtedit", "multiframe", "Frame" },
    { "txtedit", "multi", "TextBox" },        { "txtedit", "Retainer1", "Retainer" },
    { "txtedit", "Retainer2", "Retainer" },     { "txtedit", "Retainer3", "Retainer" },

    { "picedit", "picImage", "PictureBox" },  { "picedit", "picHidden", "PictureBox" },
    { "picedit", "orginal", "PictureBox" },   { "picedit", "Frame1", "Retainer" },
    { "picedit", "Frame2", "Retainer" },      { "picedit", "picstat", "OptionButton", 3 },
    { "picedit", "flip", "CheckBox" },        { "picedit", "zoom", "HScrollBar" },
    { "picedit", "Label1", "Label" },         { "picedit", "scrollh", "HScrollBar" },
    { "picedit", "scrollv", "VScrollBar" },   { "picedit", "siz", "Label" },
    { "picedit", "loadpic", "ButtonPlus" },   { "picedit", "putpic", "ButtonPlus" },
    { "picedit", "cansul", "ButtonPlus" },    { "picedit", "Image1", "Image" },
    { "picedit", "Image2", "Image" },

    { "optionfrm", "Frame1", "Retainer" },    { "optionfrm", "Slider", "Slider" },
    { "optionfrm", "counter", "TextBox" },    { "optionfrm", "loww", "Label" },
    { "optionfrm", "highh", "Label" },        { "optionfrm", "Frame2", "Retainer" },
    { "optionfrm", "langinter", "ComboBox" }, { "optionfrm", "update", "ButtonPlus" },
    { "optionfrm", "msgopt", "Label", 1 },
};

const char* const kWindows[] = { "article", "picform", "txtedit", "picedit", "optionfrm" };

// The texts each window shows (captions, tool tips, and the tags that the
// program reads as texts): the English file must translate all of them.
const std::map<std::string, std::set<std::string>> kTexts = {
    { "article",
      { "title.Caption", "title.ToolTipText", "Frversion.Caption", "katava(0).ToolTipText",
        "gpic(0).ToolTipText", "kotxt.Caption", "chedit.Caption", "chedit.Tag", "Coll.Caption",
        "count1.Tag", "savetxt.Caption", "savetxt.ToolTipText", "savetxt.Tag", "updttxt.Caption",
        "updttxt.ToolTipText", "deltext.Caption", "deltext.ToolTipText", "deltext.Tag",
        "showme.Caption", "showme.ToolTipText", "proper.Caption", "proper.ToolTipText",
        "cmdExit1.Caption", "nav(0).ToolTipText", "nav(1).ToolTipText", "nav(2).ToolTipText",
        "nav(3).ToolTipText", "msgver(0).Tag", "msgver(1).Tag", "msgver(2).Tag" } },
    { "picform",
      { "showme(0).Caption", "showme(1).Caption", "cmdSave.Caption", "cmdSave.ToolTipText",
        "printo.Caption", "printo.ToolTipText", "editpage.Caption", "editpage.ToolTipText",
        "cmdExit.Caption", "edittemp.Caption", "dpilabel.Caption" } },
    { "txtedit",
      { "form.Caption", "Checkall.Caption", "ROWCOL.ToolTipText", "rowfont.ToolTipText",
        "RESET.Caption", "black.Caption", "nikuy.Caption", "updatetxt.Caption", "cansul.Caption",
        "hesber.Caption", "multiframe.Tag", "Retainer2.Caption", "Retainer1.Caption",
        "Retainer3.Caption", "ROWCOL.Caption", "rowfont.Caption", "updatetxt.ToolTipText",
        "cansul.ToolTipText", "nikuy.ToolTipText", "RESET.ToolTipText", "black.ToolTipText",
        "Checkall.ToolTipText" } },
    { "picedit",
      { "form.Caption", "Frame1.Caption", "picstat(0).Caption", "picstat(1).Caption",
        "picstat(2).Caption", "picstat(3).Caption", "flip.Caption", "Label1.Caption",
        "siz.Caption", "loadpic.Caption", "putpic.Caption", "cansul.Caption", "picImage.Tag",
        "picImage.ToolTipText" } },
    { "optionfrm",
      { "form.Caption", "Frame1.Caption", "loww.Caption", "highh.Caption", "Frame2.Caption",
        "update.Caption", "langinter.ToolTipText", "msgopt(0).Tag", "msgopt(1).Tag" } },
};

// Tags that carry state rather than text: a language file must leave them alone.
const std::set<std::string> kStateTags = { "title.Tag", "Scroll.Tag", "tavnit.Tag",
                                           "updatetxt.Tag", "kotxt.Tag", "prev.Tag",
                                           "Frame1.Tag", "orginal.Tag", "ROWCOL.Tag", "multi.Tag" };

QWidget* makeWidget(const QString& kind, QWidget* parent)
{
    using Make = QWidget* (*)(QWidget*);
    static const std::map<QString, Make> makers = {
        {"Label", [](QWidget* p) -> QWidget* { return new QLabel(p); }},
        {"CheckBox", [](QWidget* p) -> QWidget* { return new QCheckBox(p); }},
        {"OptionButton", [](QWidget* p) -> QWidget* { return new QRadioButton(p); }},
        {"ButtonPlus", [](QWidget* p) -> QWidget* { return new ButtonPlus(p); }},
        {"CommandButton", [](QWidget* p) -> QWidget* { return new QPushButton(p); }},
        {"Retainer", [](QWidget* p) -> QWidget* { return new Retainer(p); }},
        {"TextBox", [](QWidget* p) -> QWidget* { return new QLineEdit(p); }},
        {"ComboBox", [](QWidget* p) -> QWidget* { return new QComboBox(p); }},
        {"ListBox", [](QWidget* p) -> QWidget* { return new QListWidget(p); }},
        {"HScrollBar", [](QWidget* p) -> QWidget* { return new QScrollBar(Qt::Horizontal, p); }},
        {"VScrollBar", [](QWidget* p) -> QWidget* { return new QScrollBar(Qt::Vertical, p); }},
        {"Slider", [](QWidget* p) -> QWidget* { return new QSlider(p); }},
        {"Frame", [](QWidget* p) -> QWidget* { return new QGroupBox(p); }},
    };
    if (const auto it = makers.find(kind); it != makers.end())
        return it->second(parent);
    QWidget* widget = new QLabel(parent);
    widget->setProperty(kToolkitTypeProperty, kind);
    return widget;
}

// A window with every widget of the table, right to left like the design.
std::unique_ptr<QWidget> buildWindow(const char* name)
{
    auto window = std::make_unique<QWidget>();
    window->setObjectName(QString::fromLatin1(name));
    window->setLayoutDirection(Qt::RightToLeft);
    for (const KnownWidget& known : kWidgets) {
        if (std::string_view(known.window) != name)
            continue;
        for (int i = 0; i <= std::max(0, known.lastIndex); ++i) {
            QWidget* widget = makeWidget(QString::fromLatin1(known.kind), window.get());
            if (known.lastIndex >= 0)
                makeArrayElement(widget, QString::fromLatin1(known.name), i);
            else
                widget->setObjectName(QString::fromLatin1(known.name));
        }
    }
    return window;
}

bool knownTarget(const char* window, const QString& target)
{
    if (target == u"form")
        return true;
    QString name = target;
    int index = -1;
    const qsizetype open = target.indexOf(u'(');
    if (open >= 0) {
        if (!target.endsWith(u')') || target.size() != open + 3 || !target[open + 1].isDigit())
            return false;
        name = target.left(open);
        index = target[open + 1].digitValue();
    }
    for (const KnownWidget& known : kWidgets) {
        if (std::string_view(known.window) == window && name == QString::fromLatin1(known.name))
            return index < 0 ? known.lastIndex < 0 : index <= known.lastIndex;
    }
    return false;
}

QStringList shippedLanguages()
{
    return QDir(test::sourceDataDir() + QStringLiteral("/language"))
        .entryList({ QStringLiteral("*.lng") }, QDir::Files, QDir::Name);
}

class ShippedLanguage : public testing::TestWithParam<QString> {
protected:
    QString path() const { return test::sourceDataDir() + QStringLiteral("/language/") + GetParam(); }
};

TEST_P(ShippedLanguage, IsWindows1255WithCrLf)
{
    QFile file(path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_EQ(bytes.count('\n'), bytes.count("\r\n")) << "every line ends in CR LF";
    QStringDecoder decode("windows-1255");
    const QString text = decode(bytes);
    EXPECT_FALSE(decode.hasError());
    for (QChar c : text) {
        const bool allowed = c.unicode() < 0x80 || (c.unicode() >= 0x05D0 && c.unicode() <= 0x05EA);
        EXPECT_TRUE(allowed) << "U+" << std::hex << int(c.unicode());
    }
}

TEST_P(ShippedLanguage, EverySectionFitsNamesKnownWidgetsAndTranslatesEveryText)
{
    for (const char* window : kWindows) {
        const QStringList lines = readSectionLines(path(), QString::fromLatin1(window));
        EXPECT_FALSE(lines.isEmpty()) << window;
        EXPECT_LE(sectionBufferLength(lines), kLanguageSectionBuffer - 1)
            << window << " is cut at " << kLanguageSectionBuffer << " characters";
        std::set<std::string> keys;
        for (const QString& line : lines) {
            const auto entry = parseLanguageEntry(line);
            ASSERT_TRUE(entry) << line.toStdString();
            EXPECT_TRUE(knownTarget(window, entry->target)) << window << ": " << line.toStdString();
            const std::string key = (entry->target + u'.' + entry->property).toStdString();
            EXPECT_TRUE(keys.insert(key).second) << "twice: " << key;
            EXPECT_FALSE(kStateTags.count(key)) << "state tag " << key;
            EXPECT_FALSE(entry->value.trimmed().isEmpty()) << key;
        }
        for (const std::string& text : kTexts.at(window))
            EXPECT_TRUE(keys.count(text)) << window << " misses " << text;
    }
}

TEST_P(ShippedLanguage, AppliesToTheWindows)
{
    test::ProgramFolder folder(test::ProgramFolder::Start::Empty);
    QDir().mkpath(folder.file(QStringLiteral("language")));
    ASSERT_TRUE(QFile::copy(path(), folder.file(QStringLiteral("language/") + GetParam())));
    for (const char* window : kWindows) {
        auto built = buildWindow(window);
        QString language = GetParam().chopped(4);
        ApplyLanguage(built.get(), folder.path(), language);
        ASSERT_EQ(language, GetParam().chopped(4));
        const QStringList lines = readSectionLines(path(), QString::fromLatin1(window));
        for (const QString& line : lines) {
            const auto entry = parseLanguageEntry(line);
            ASSERT_TRUE(entry);
            QWidget* widget = built.get();
            if (entry->target != u"form") {
                const qsizetype open = entry->target.indexOf(u'(');
                widget = open < 0 ? findControl(built.get(), entry->target)
                                  : findArrayElement(built.get(), entry->target.left(open),
                                                     entry->target[open + 1].digitValue());
            }
            ASSERT_NE(widget, nullptr) << line.toStdString();
            // Booleans read back in their own spelling ("false" for "False").
            EXPECT_EQ(readToolkitProperty(widget, entry->property).value_or(QVariant()).toString().toLower(),
                      entry->value.toLower())
                << window << ": " << line.toStdString();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Files, ShippedLanguage, testing::ValuesIn(shippedLanguages()),
                         [](const auto& info) { return info.param.chopped(4).toStdString(); });

TEST(ShippedLanguages, EnglishAndOneMore)
{
    const QStringList files = shippedLanguages();
    EXPECT_TRUE(files.contains(QStringLiteral("english.lng")));
    EXPECT_GE(files.size(), 2);
}

} // namespace
