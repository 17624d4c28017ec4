#include <ret/retainer.h>
#include "support/testdirs.h"
#include "windows/common/buttonplus.h"
#include "windows/common/controls.h"
#include "windows/common/toolkitproperties.h"
#include "windows/options/language.h"
#include "windows/options/sectionreader.h"

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <functional>

using namespace nuvela;

namespace {

// The picture editor as built in Hebrew: right to left, right-aligned.
struct PictureEditor {
    QWidget window;
    Retainer* frame = new Retainer(&window);
    QRadioButton* picstat[4] {};
    QCheckBox* flip = new QCheckBox(QStringLiteral("הפוך תמונה"), &window);
    QLabel* label = new QLabel(QStringLiteral("שינוי גודל תמונה:"), &window);
    ButtonPlus* loadpic = new ButtonPlus(QStringLiteral("טען תמונה..."), &window);
    QLabel* image = new QLabel(&window);

    PictureEditor()
    {
        window.setObjectName(QStringLiteral("picedit"));
        window.setWindowTitle(QStringLiteral("עצוב תמונה"));
        frame->setObjectName(QStringLiteral("Frame1"));
        frame->setCaption(QStringLiteral("מיקום התמונה"));
        for (int i = 0; i < 4; ++i) {
            picstat[i] = new QRadioButton(QStringLiteral("מצב %1").arg(i), frame);
            makeArrayElement(picstat[i], QStringLiteral("picstat"), i);
            rightToLeft(picstat[i]);
            writeToolkitProperty(picstat[i], u"Left", 3000);
        }
        flip->setObjectName(QStringLiteral("flip"));
        label->setObjectName(QStringLiteral("Label1"));
        loadpic->setObjectName(QStringLiteral("loadpic"));
        loadpic->setPictureAlignment(PictureAlignment::RightEdge);
        makeArrayElement(image, QStringLiteral("Image1"), 0);
        image->setProperty(kToolkitTypeProperty, QStringLiteral("Image"));
        for (QWidget* w : { static_cast<QWidget*>(frame), static_cast<QWidget*>(flip),
                            static_cast<QWidget*>(label), static_cast<QWidget*>(loadpic),
                            static_cast<QWidget*>(image) })
            rightToLeft(w);
        writeToolkitProperty(flip, u"Left", 4000);
    }

    static void rightToLeft(QWidget* w)
    {
        writeToolkitProperty(w, u"RightToLeft", true);
        writeToolkitProperty(w, u"Alignment", 1);
    }

    /// Everything an entry may touch, to see that nothing else moved.
    QStringList snapshot()
    {
        QStringList state { window.windowTitle() };
        const auto controls = windowControls(&window);
        for (QWidget* w : controls) {
            for (const char16_t* property :
                 { u"Caption", u"ToolTipText", u"Tag", u"RightToLeft", u"Alignment", u"Left",
                   u"PictureAlignment", u"Visible" })
                state << readToolkitProperty(w, property).value_or(QVariant()).toString();
        }
        return state;
    }
};

/// Applies a language file of the given text to the editor; returns the language kept.
QString applyFile(PictureEditor& editor, const QString& text, const QString& name = QStringLiteral("test"))
{
    test::ProgramFolder folder(test::ProgramFolder::Start::Empty);
    folder.write(QStringLiteral("language/%1.lng").arg(name), test::ansi(text));
    QString language = name;
    ApplyLanguage(&editor.window, folder.path(), language);
    return language;
}

double left(QWidget* w) { return readToolkitProperty(w, u"Left")->toDouble(); }
bool rtl(QWidget* w) { return readToolkitProperty(w, u"RightToLeft")->toBool(); }

void unchanged(PictureEditor& e, const QStringList& before) { EXPECT_EQ(e.snapshot(), before); }

struct EntryCase {
    const char* name;
    const char* line;
    std::function<void(PictureEditor&, const QStringList& before)> check;
};

const EntryCase kEntries[] = {
    { "option button of an array", "picstat(3).Caption=Centred", [](PictureEditor& e, const QStringList&) {
          EXPECT_EQ(e.picstat[3]->text(), "Centred");
          EXPECT_EQ(left(e.picstat[3]), 100) << "moved to the left edge";
          EXPECT_FALSE(rtl(e.picstat[3]));
          EXPECT_EQ(readToolkitProperty(e.picstat[3], u"Alignment"), QVariant(0));
          EXPECT_EQ(e.picstat[3]->layoutDirection(), Qt::LeftToRight);
          EXPECT_EQ(left(e.picstat[2]), 3000);
          EXPECT_TRUE(rtl(e.picstat[2]));
          EXPECT_EQ(e.picstat[2]->text(), "מצב 2");
      } },
    { "element 12 finds nothing", "picstat(12).Caption=Twelve", unchanged },
    { "element that is no digit", "picstat(x).Caption=X", unchanged },
    { "unknown widget changes nothing", "nothere.Caption=X", unchanged },
    { "the window itself", "form.Caption=Picture editor",
      [](PictureEditor& e, const QStringList&) { EXPECT_EQ(e.window.windowTitle(), "Picture editor"); } },
    { "value stops at its own =", "Label1.Caption=a=b",
      [](PictureEditor& e, const QStringList&) { EXPECT_EQ(e.label->text(), "a"); } },
    { "label turns left aligned", "Label1.Caption=Zoom picture:", [](PictureEditor& e, const QStringList&) {
          EXPECT_EQ(e.label->text(), "Zoom picture:");
          EXPECT_EQ(e.label->alignment() & (Qt::AlignHorizontal_Mask | Qt::AlignAbsolute), Qt::AlignLeft | Qt::AlignAbsolute);
          EXPECT_EQ(e.label->layoutDirection(), Qt::LeftToRight);
          EXPECT_TRUE(rtl(e.flip)) << "widgets that no entry names keep their direction";
      } },
    { "check box flip moves", "flip.Caption=Mirror picture", [](PictureEditor& e, const QStringList&) {
          EXPECT_EQ(e.flip->text(), "Mirror picture");
          EXPECT_EQ(left(e.flip), 100);
          EXPECT_EQ(e.flip->layoutDirection(), Qt::LeftToRight);
      } },
    { "image button gets picture alignment 3", "loadpic.Caption=Load picture...", [](PictureEditor& e, const QStringList&) {
          EXPECT_EQ(e.loadpic->text(), "Load picture...");
          EXPECT_EQ(e.loadpic->pictureAlignment(), PictureAlignment::LeftEdge);
          EXPECT_FALSE(rtl(e.loadpic));
      } },
    { "panel keeps its direction", "Frame1.Caption=Picture position", [](PictureEditor& e, const QStringList&) {
          EXPECT_EQ(e.frame->caption(), "Picture position");
          EXPECT_TRUE(rtl(e.frame));
          EXPECT_TRUE(rtl(e.picstat[0])) << "nor do the buttons inside it change";
      } },
    { "image keeps its direction", "Image1(0).ToolTipText=Decoration", [](PictureEditor& e, const QStringList&) {
          EXPECT_EQ(e.image->toolTip(), "Decoration");
          EXPECT_TRUE(rtl(e.image));
      } },
    { "names and properties ignore case", "LABEL1.caption=Hi",
      [](PictureEditor& e, const QStringList&) { EXPECT_EQ(e.label->text(), "Hi"); } },
    { "a boolean property", "loadpic.Visible=False",
      [](PictureEditor& e, const QStringList&) { EXPECT_TRUE(e.loadpic->isHidden()); } },
    { "the window cannot be hidden", "form.Visible=False",
      [](PictureEditor& e, const QStringList&) { EXPECT_FALSE(e.window.testAttribute(Qt::WA_WState_ExplicitShowHide)); } },
    { "nor disabled, in any letter case", "FORM.enabled=0",
      [](PictureEditor& e, const QStringList&) { EXPECT_TRUE(e.window.isEnabled()); } },
    { "an unknown property still mirrors the widget", "Label1.Frobnicate=1", [](PictureEditor& e, const QStringList&) {
          EXPECT_EQ(e.label->text(), "שינוי גודל תמונה:");
          EXPECT_FALSE(rtl(e.label));
      } },
};

TEST(Language, EntriesApplyToTheirWidget)
{
    for (const EntryCase& c : kEntries) {
        SCOPED_TRACE(c.name);
        PictureEditor editor;
        const QStringList before = editor.snapshot();
        EXPECT_EQ(applyFile(editor, QStringLiteral("[picedit]\n") + QString::fromUtf8(c.line) + u'\n'), "test");
        c.check(editor, before);
    }
}

TEST(Language, MalformedLinesAreSkippedWithoutStaleValues)
{
    PictureEditor editor;
    applyFile(editor, QStringLiteral("[picedit]\nLabel1.Caption=First\nflip.Caption\nloadpicCaption=Oops\nflip.Tag=t\n"));
    EXPECT_EQ(editor.label->text(), "First");
    EXPECT_EQ(editor.flip->text(), "הפוך תמונה");
    EXPECT_EQ(editor.loadpic->text(), "טען תמונה...");
    EXPECT_EQ(widgetTag(editor.flip), "t");
}

TEST(Language, LanguagesWithoutAFileBecomeHebrew)
{
    test::ProgramFolder folder(test::ProgramFolder::Start::Empty);
    folder.write(QStringLiteral("language/english.lng"),
                 test::ansi(QStringLiteral("[picedit]\nform.Caption=Picture editor\n")));
    folder.write(QStringLiteral("language/hebrew.lng"),
                 test::ansi(QStringLiteral("[picedit]\nform.Caption=Never\n")));
    const std::pair<const char*, const char*> cases[] = {
        { "klingon", "hebrew" },         { "Hebrew", "hebrew" }, { "failed", "hebrew" },
        { "", "hebrew" },                { "hebrew", "hebrew" }, // has a file, yet is built in
        { "../language/english", "hebrew" },
    };
    for (const auto& [name, after] : cases) {
        PictureEditor editor;
        QString language = QString::fromLatin1(name);
        ApplyLanguage(&editor.window, folder.path(), language);
        EXPECT_EQ(language, QString::fromLatin1(after)) << name;
        EXPECT_EQ(editor.window.windowTitle(), "עצוב תמונה") << name;
    }
}

TEST(Language, SectionIsTheWindowsAndBackToHebrewChangesNothing)
{
    PictureEditor editor;
    applyFile(editor, QStringLiteral("[article]\nLabel1.Caption=Wrong window\n[PICEDIT]\nLabel1.Caption=Zoom\n"
                                     "[picedit]\nLabel1.Caption=Second section\n"),
              QStringLiteral("english"));
    EXPECT_EQ(editor.label->text(), "Zoom");
    applyFile(editor, QStringLiteral("[picedit]\nLabel1.Caption=Never\n"), QStringLiteral("hebrew"));
    EXPECT_EQ(editor.label->text(), "Zoom");
}

TEST(Language, SectionReaderDecodesWindows1255AndTrims)
{
    test::ProgramFolder folder(test::ProgramFolder::Start::Empty);
    folder.write(QStringLiteral("he.lng"), test::ansi(QStringLiteral(
        "[other]\nx=1\n[ Picedit ]\n  flip.Caption=הפוך  \n\n   \nLabel1.Tag=a\n[next]\ny=2\n")));
    EXPECT_EQ(readSectionLines(folder.file(QStringLiteral("he.lng")), u"picedit"),
              (QStringList { QStringLiteral("flip.Caption=הפוך"), QStringLiteral("Label1.Tag=a") }));
    EXPECT_TRUE(readSectionLines(folder.file(QStringLiteral("he.lng")), u"missing").isEmpty());
    EXPECT_TRUE(readSectionLines(folder.file(QStringLiteral("none.lng")), u"picedit").isEmpty());
}

// The section buffer holds 1300 characters: the entries with their NULs and
// the NUL that ends the list.
TEST(Language, BufferKeepsWholeEntriesOnly)
{
    const QString head = QStringLiteral("Label1.Tag=");
    const auto line = [&](int length) { return head + QString(length - head.size(), u'x'); };
    struct Case { const char* name; QList<int> lengths; int kept; };
    const Case cases[] = {
        { "fills the buffer exactly", { 649, 648 }, 2 }, // 650 + 649 = 1299
        { "one character too many", { 649, 649 }, 1 },   // 650 + 650 = 1300
        { "all beyond the cut go", { 1000, 400, 10 }, 1 },
        { "a first entry that is too long", { 1299 }, 0 },
    };
    for (const Case& c : cases) {
        QStringList lines;
        for (int length : c.lengths)
            lines.append(line(length));
        const QStringList kept = linesWithinBuffer(lines);
        EXPECT_EQ(kept, lines.mid(0, c.kept)) << c.name;
        EXPECT_LE(sectionBufferLength(kept), kLanguageSectionBuffer - 1) << c.name;
    }
}

TEST(Language, EntryCutByTheBufferIsNotAppliedTruncated)
{
    QString section = QStringLiteral("[picedit]\n");
    for (int i = 0; i < 4; ++i)
        section += QStringLiteral("picstat(%1).Caption=%2\n").arg(i).arg(QString(200, QChar(u'a' + i)));
    section += QStringLiteral("Label1.Caption=") + QString(500, u'z') + u'\n'; // crosses 1300
    section += QStringLiteral("flip.Caption=After the cut\n");
    PictureEditor editor;
    applyFile(editor, section);
    EXPECT_EQ(editor.picstat[3]->text(), QString(200, u'd'));
    EXPECT_EQ(editor.label->text(), "שינוי גודל תמונה:") << "no truncated caption";
    EXPECT_TRUE(rtl(editor.label));
    EXPECT_EQ(editor.flip->text(), "הפוך תמונה");
}

} // namespace
