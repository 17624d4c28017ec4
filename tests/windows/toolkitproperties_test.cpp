#include "windows/common/buttonplus.h"
#include "windows/common/colournumber.h"
#include "windows/common/controls.h"
#include "windows/common/textvalue.h"
#include "windows/common/toolkitproperties.h"
#include "windows/common/twips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QLineEdit>
#include <QLocale>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <functional>

using namespace nuvela;

namespace {

// Values must read as U.S. English text even where the user writes "1,5".
class GermanLocale : public testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }
};

using ValueConversion = GermanLocale;

TEST_F(ValueConversion, NumbersAndBooleansReadAsUsEnglish)
{
    struct Case { const char* text; std::optional<double> expected; };
    const Case cases[] = {
        { "1.5", 1.5 },          { " 12 ", 12 },         { "1,000.25", 1000.25 },
        { "-1", -1 },            { "1e3", 1000 },        { "&HFF", 255 },
        { "&hff&", 255 },        { "&H80000005", 2147483653.0 }, { "&O17", 15 },
        { "1,5", std::nullopt }, { "abc", std::nullopt }, { "", std::nullopt },
        { "&H", std::nullopt },  { "&HFFFFFFFFF", std::nullopt },
    };
    for (const Case& c : cases)
        EXPECT_EQ(numberFromValue(QString::fromLatin1(c.text)), c.expected) << c.text;
    EXPECT_EQ(wholeFromValue(QStringLiteral("2.5")), 2); // halves to even
    EXPECT_EQ(wholeFromValue(QStringLiteral("3.5")), 4);
    EXPECT_EQ(wholeFromValue(QStringLiteral("-2.5")), -2);
    EXPECT_EQ(wholeFromValue(QStringLiteral("5000000000")), std::nullopt);
    const std::pair<const char*, std::optional<bool>> booleans[] = { { "True", true },  { "false", false }, { "-1", true },
                           { "0", false },    { "2", true },      { "yes", std::nullopt },
                           { "", std::nullopt } };
    for (const auto& [text, expected] : booleans)
        EXPECT_EQ(booleanFromValue(QString::fromLatin1(text)), expected) << text;
    EXPECT_EQ(textFromValue(true), QStringLiteral("True"));
    EXPECT_EQ(textFromValue(10.24), QStringLiteral("10.24"));
}

// ---- Setting and reading properties by the toolkit's names

struct PropertyCase {
    const char* name;
    std::function<QWidget*(QWidget* window)> make;
    const char* property;
    const char* value;
    bool accepted;
    std::function<void(QWidget*)> check;
};

template <typename W>
W* as(QWidget* w)
{
    return static_cast<W*>(w);
}

template <typename W>
QWidget* make(QWidget* window)
{
    return new W(window);
}

QScrollBar* scrollBar(QWidget* window)
{
    auto bar = new QScrollBar(Qt::Horizontal, window);
    bar->setRange(0, 100);
    bar->setValue(10);
    return bar;
}

QComboBox* languages(QWidget* window, bool editable)
{
    auto combo = new QComboBox(window);
    combo->setEditable(editable);
    combo->addItems({ QStringLiteral("Hebrew"), QStringLiteral("english") });
    return combo;
}

// Captions of labels, panels and windows are applied by every language file.
const PropertyCase kPropertyCases[] = {
    { "text box has no caption", make<QLineEdit>, "Caption", "x", false, [](QWidget* w) { EXPECT_EQ(as<QLineEdit>(w)->text(), ""); } },
    { "editable combo takes any text", [](QWidget* w) { return languages(w, true); }, "Text", "klingon", true,
      [](QWidget* w) { EXPECT_EQ(as<QComboBox>(w)->currentText(), "klingon"); } },
    { "list combo selects an item", [](QWidget* w) { return languages(w, false); }, "Text", "ENGLISH", true,
      [](QWidget* w) { EXPECT_EQ(as<QComboBox>(w)->currentIndex(), 1); } },
    { "list combo refuses another text", [](QWidget* w) { return languages(w, false); }, "Text", "klingon", false,
      [](QWidget* w) { EXPECT_EQ(as<QComboBox>(w)->currentIndex(), 0); } },
    { "check box value 2 is grey", make<QCheckBox>, "Value", "2", true,
      [](QWidget* w) { EXPECT_EQ(as<QCheckBox>(w)->checkState(), Qt::PartiallyChecked); } },
    { "check box alignment 1 puts the box right", make<QCheckBox>, "Alignment", "1", true,
      [](QWidget* w) {
          EXPECT_EQ(w->layoutDirection(), Qt::RightToLeft);
          EXPECT_EQ(readToolkitProperty(w, u"RightToLeft"), QVariant(false));
      } },
    { "check box has no alignment 2", make<QCheckBox>, "Alignment", "2", false,
      [](QWidget* w) { EXPECT_EQ(w->layoutDirection(), Qt::LeftToRight); } },
    { "check box refuses True", make<QCheckBox>, "Value", "True", false, [](QWidget* w) { EXPECT_FALSE(as<QCheckBox>(w)->isChecked()); } },
    { "scroll bar value", scrollBar, "Value", "50", true, [](QWidget* w) { EXPECT_EQ(as<QScrollBar>(w)->value(), 50); } },
    { "scroll bar refuses out of range", scrollBar, "Value", "150", false, [](QWidget* w) { EXPECT_EQ(as<QScrollBar>(w)->value(), 10); } },
    { "left in twips", make<QLabel>, "Left", "1500", true, [](QWidget* w) { EXPECT_EQ(w->x(), 100); } },
    { "width keeps its fraction", make<QLabel>, "Width", "1000.5", true,
      [](QWidget* w) {
          EXPECT_EQ(w->width(), 67);
          EXPECT_DOUBLE_EQ(readToolkitProperty(w, u"Width")->toDouble(), 1000.5);
      } },
    { "no negative width", make<QLabel>, "Width", "-15", false, [](QWidget* w) { EXPECT_NE(w->width(), 0); } },
    { "visible needs a boolean", make<QLabel>, "Visible", "maybe", false, [](QWidget* w) { EXPECT_FALSE(w->isHidden()); } },
    { "back colour decimal", make<QLabel>, "BackColor", "255", true,
      [](QWidget* w) {
          EXPECT_EQ(w->palette().color(QPalette::Window), QColor(255, 0, 0));
          EXPECT_TRUE(w->autoFillBackground());
      } },
    { "text box back colour is its base", make<QLineEdit>, "BackColor", "&HFF0000", true,
      [](QWidget* w) { EXPECT_EQ(w->palette().color(QPalette::Base), QColor(0, 0, 255)); } },
    { "unknown system colour", make<QLabel>, "BackColor", "&H80000099", false, [](QWidget*) {} },
    { "button caption colour", make<ButtonPlus>, "ForeColor", "&H00FF00", true,
      [](QWidget* w) { EXPECT_EQ(w->palette().color(QPalette::ButtonText), QColor(0, 255, 0)); } },
    { "no zero font size", make<QLabel>, "FontSize", "0", false, [](QWidget* w) { EXPECT_GT(w->font().pointSizeF(), 0); } },
    { "picture alignment 3", make<ButtonPlus>, "PictureAlignment", "3", true,
      [](QWidget* w) { EXPECT_EQ(as<ButtonPlus>(w)->pictureAlignment(), PictureAlignment::LeftEdge); } },
    { "no picture alignment 9", make<ButtonPlus>, "PictureAlignment", "9", false,
      [](QWidget* w) { EXPECT_EQ(as<ButtonPlus>(w)->pictureAlignment(), PictureAlignment::LeftOfCaption); } },
    { "emphasised border", make<ButtonPlus>, "BorderStyle", "5", true,
      [](QWidget* w) { EXPECT_EQ(as<ButtonPlus>(w)->borderStyle(), ButtonBorder::Emphasised); } },
    // Qt mirrors a plain AlignRight in a right-to-left widget.
    { "label alignment is absolute",
      [](QWidget* w) {
          auto label = new QLabel(w);
          label->setLayoutDirection(Qt::RightToLeft);
          return label;
      },
      "Alignment", "1", true,
      [](QWidget* w) {
          EXPECT_EQ(as<QLabel>(w)->alignment() & (Qt::AlignHorizontal_Mask | Qt::AlignAbsolute),
                    Qt::AlignRight | Qt::AlignAbsolute);
          EXPECT_EQ(readToolkitProperty(w, u"Alignment"), QVariant(1));
      } },
};

TEST(Properties, SetByToolkitName)
{
    for (const PropertyCase& c : kPropertyCases) {
        SCOPED_TRACE(c.name);
        QWidget window;
        QWidget* widget = c.make(&window);
        widget->setObjectName(QStringLiteral("subject"));
        widget->setGeometry(10, 10, 80, 20);
        EXPECT_EQ(writeToolkitProperty(widget, QString::fromLatin1(c.property), QString::fromUtf8(c.value)), c.accepted);
        c.check(widget);
    }
}

// A translated caption's "&" letter works as the button's key, unless the
// window gave the button a key of its own: then that key stays, and a letter
// it would not answer to is not underlined.
TEST(Properties, CaptionMnemonicsAndTheButtonsOwnKey)
{
    struct Case { const char* name; QKeySequence own; const char16_t* caption; const char16_t* shown; QKeySequence key; };
    const Case cases[] = {
        {"no key of its own", {}, u"&Kleur", u"&Kleur", QKeySequence(Qt::ALT | Qt::Key_K)},
        {"the same letter", QKeySequence(Qt::ALT | Qt::Key_C), u"&Colour", u"&Colour", QKeySequence(Qt::ALT | Qt::Key_C)},
        {"another letter", QKeySequence(Qt::ALT | Qt::Key_C), u"Rock && &Kleur", u"Rock && Kleur", QKeySequence(Qt::ALT | Qt::Key_C)},
        {"no letter", QKeySequence(Qt::CTRL | Qt::Key_S), u"Save", u"Save", QKeySequence(Qt::CTRL | Qt::Key_S)},
    };
    for (const Case& c : cases) {
        QWidget window;
        QPushButton button(QStringLiteral("צבע"), &window);
        button.setShortcut(c.own);
        ASSERT_TRUE(writeToolkitProperty(&button, u"Caption", QString::fromUtf16(c.caption)));
        EXPECT_EQ(button.text(), QString::fromUtf16(c.shown)) << c.name;
        EXPECT_EQ(button.shortcut(), c.key) << c.name;
    }
}

TEST(Properties, ReadBackFromWhatTheWidgetShows)
{
    QWidget window;
    QLabel label(&window);
    ASSERT_TRUE(writeToolkitProperty(&label, u"Left", 1001.0));
    EXPECT_DOUBLE_EQ(readToolkitProperty(&label, u"Left")->toDouble(), 1001.0);
    label.move(10, label.y());
    EXPECT_DOUBLE_EQ(readToolkitProperty(&label, u"Left")->toDouble(), 150.0);
    // A font given in pixels has no point size, for scaling to leave alone.
    QFont pixels = label.font();
    pixels.setPixelSize(13);
    label.setFont(pixels);
    EXPECT_FALSE(readToolkitProperty(&label, u"FontSize"));
}

} // namespace
