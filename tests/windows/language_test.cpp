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
        frame->setCaption(QStringLiteral("מיקום התמונה"));
        for (int i = 0; i < 4; ++i) {
            picstat[i] = new QRadioButton(QStringLiteral("מצב %1").arg(i), frame);
            makeArrayElement(picstat[i], QStringLiteral("picstat"), i);
        }
        makeArrayElement(image, QStringLiteral("Image1"), 0);
        image->setProperty(kToolkitTypeProperty, QStringLiteral("Image"));
        loadpic->setPictureAlignment(PictureAlignment::RightEdge);
        const std::pair<QWidget*, const char*> named[] = {{frame, "Frame1"}, {flip, "flip"}, {label, "Label1"}, {loadpic, "loadpic"}};
        for (const auto& [w, name] : named)
            w->setObjectName(QString::fromLatin1(name));
        for (QWidget* w : windowControls(&window)) {
            writeToolkitProperty(w, u"RightToLeft", true);
            writeToolkitProperty(w, u"Alignment", 1);
            writeToolkitProperty(w, u"Left", w == flip ? 4000 : 3000);
        }
    }

    /// Everything an entry may touch, to see that nothing else moved.
    QStringList snapshot()
    {
        QStringList state { window.windowTitle() };
        for (QWidget* w : windowControls(&window))
            for (const char16_t* p : { u"Caption", u"ToolTipText", u"Tag", u"RightToLeft", u"Alignment", u"Left", u"PictureAlignment", u"Visible" })
                state << readToolkitProperty(w, p).value_or(QVariant()).toString();
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

/// What a check reads of a widget: a toolkit property, or "dir" for Qt's own
/// layout direction and "hidden" for an explicit hide.
QString look(PictureEditor& e, const QString& name, const QString& property)
{
    const qsizetype open = name.indexOf(u'(');
    QWidget* w = name == u"form" ? &e.window
        : open < 0              ? findControl(&e.window, name)
                                : findArrayElement(&e.window, name.left(open), name[open + 1].digitValue());
    if (property == u"dir")
        return w->layoutDirection() == Qt::RightToLeft ? QStringLiteral("rtl") : QStringLiteral("ltr");
    if (property == u"hidden")
        return w->testAttribute(Qt::WA_WState_ExplicitShowHide) && w->isHidden() ? QStringLiteral("yes") : QStringLiteral("no");
    return readToolkitProperty(w, property).value_or(QVariant()).toString();
}

// Each entry and what reads back afterwards ("widget.Property=value", split at
// "|"); none: nothing at all changed. A widget an entry names turns left to
// right and moves to the left edge; the others keep their direction.
const std::pair<const char*, const char*> kEntries[] = {
    {"picstat(3).Caption=Centred", "picstat(3).Caption=Centred|picstat(3).Left=100|picstat(3).RightToLeft=false|"
     "picstat(3).Alignment=0|picstat(3).dir=ltr|picstat(2).Left=3000|picstat(2).RightToLeft=true|picstat(2).Caption=מצב 2"},
    {"picstat(12).Caption=Twelve", ""},
    {"picstat(x).Caption=X", ""},
    {"nothere.Caption=X", ""},
    {"form.Caption=Picture editor", "form.Caption=Picture editor"},
    {"Label1.Caption=a=b", "Label1.Caption=a"}, // a value stops at its own "="
    {"Label1.Caption=Zoom picture:", "Label1.Caption=Zoom picture:|Label1.Alignment=0|Label1.dir=ltr|flip.RightToLeft=true"},
    {"flip.Caption=Mirror picture", "flip.Caption=Mirror picture|flip.Left=100|flip.dir=ltr"},
    {"loadpic.Caption=Load picture...", "loadpic.Caption=Load picture...|loadpic.PictureAlignment=3|loadpic.RightToLeft=false"},
    // Panels and images keep their direction, and so do the buttons inside a panel.
    {"Frame1.Caption=Picture position", "Frame1.Caption=Picture position|Frame1.RightToLeft=true|picstat(0).RightToLeft=true"},
    {"Image1(0).ToolTipText=Decoration", "Image1(0).ToolTipText=Decoration|Image1(0).RightToLeft=true"},
    {"LABEL1.caption=Hi", "Label1.Caption=Hi"}, // names and properties in any letter case
    {"loadpic.Visible=False", "loadpic.hidden=yes"},
    {"form.Visible=False", "form.hidden=no"}, // the window can be neither hidden
    {"FORM.enabled=0", "form.Enabled=true"},  // nor disabled
    {"Label1.Frobnicate=1", "Label1.Caption=שינוי גודל תמונה:|Label1.RightToLeft=false"}, // still mirrored
    // Malformed lines are skipped and leave nothing behind for the next one.
    {"Label1.Caption=First\nflip.Caption\nloadpicCaption=Oops\nflip.Tag=t",
     "Label1.Caption=First|flip.Caption=הפוך תמונה|loadpic.Caption=טען תמונה...|flip.Tag=t"},
    // Only the window's own section counts, and only its first.
    {"Label1.Tag=t\n[article]\nflip.Caption=Wrong window\n[picedit]\nLabel1.Caption=Second section",
     "Label1.Tag=t|flip.Caption=הפוך תמונה|Label1.Caption=שינוי גודל תמונה:"},
};

TEST(Language, EntriesApplyToTheirWidget)
{
    for (const auto& [line, expected] : kEntries) {
        SCOPED_TRACE(line);
        PictureEditor editor;
        const QStringList before = editor.snapshot();
        EXPECT_EQ(applyFile(editor, QStringLiteral("[picedit]\n") + QString::fromUtf8(line) + u'\n'), "test");
        if (!*expected) {
            EXPECT_EQ(editor.snapshot(), before);
        }
        for (const QString& check : QString::fromUtf8(expected).split(u'|', Qt::SkipEmptyParts)) {
            const QString target = check.section(u'=', 0, 0);
            EXPECT_EQ(look(editor, target.section(u'.', 0, 0), target.section(u'.', 1)), check.section(u'=', 1)) << check.toStdString();
        }
    }
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
// the NUL that ends the list. An entry the buffer cuts is not applied at all.
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
    QString section = QStringLiteral("[picedit]\npicstat(3).Caption=") + QString(600, u'd');
    section += QStringLiteral("\nLabel1.Caption=") + QString(700, u'z') + QStringLiteral("\nflip.Caption=After the cut\n");
    PictureEditor editor;
    applyFile(editor, section);
    EXPECT_EQ(editor.picstat[3]->text(), QString(600, u'd'));
    EXPECT_EQ(editor.label->text(), "שינוי גודל תמונה:") << "no truncated caption";
    EXPECT_TRUE(readToolkitProperty(editor.label, u"RightToLeft")->toBool());
    EXPECT_EQ(editor.flip->text(), "הפוך תמונה");
}

} // namespace
