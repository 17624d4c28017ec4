// The shipped language files on the real windows: Windows-1255 with CR LF,
// every entry names a widget its window has and reads back as written, and
// no Hebrew text is left on any window in another language.
#include "windowfixture.h"

#include "windows/common/buttonplus.h"
#include "windows/common/controls.h"
#include "windows/common/toolkitproperties.h"
#include "windows/options/language.h"
#include "windows/options/optionswindow.h"
#include "windows/options/sectionreader.h"
#include "windows/output/picformwindow.h"
#include "windows/picedit/piceditwindow.h"
#include "windows/textedit/txteditwindow.h"

#include <QDir>
#include <QDirIterator>
#include <QLabel>
#include <QSlider>
#include <QRegularExpression>
#include <QStringDecoder>

#include <map>

using namespace nuvela;
using namespace Qt::StringLiterals;

namespace {

// Tags that carry state rather than text: a language file must leave them alone.
const QStringList kStateTags = {"title.Tag",  "Scroll.Tag",  "tavnit.Tag", "updatetxt.Tag", "kotxt.Tag",
                                "prev.Tag",   "Frame1.Tag",  "orginal.Tag", "ROWCOL.Tag",   "multi.Tag"};

/// How far a button's caption and picture keep from its left and right
/// edges: the ink, whatever differs from the face's own vertical gradient.
struct Margins {
    int left = 0, right = 0;
    bool pictured = false;
    bool centred() const { return std::abs(left - right) <= 2; }
};

std::map<QString, Margins> buttonMargins(QWidget* window)
{
    std::map<QString, Margins> margins;
    for (QWidget* c : windowControls(window)) {
        auto* b = qobject_cast<ButtonPlus*>(c);
        if (!b || b->window() != window || b->caption().isEmpty())
            continue;
        const QImage face = b->grab().toImage();
        const QRect inner = face.rect().adjusted(5, 5, -5, -5);
        QRect ink;
        for (int y = inner.top(); y <= inner.bottom(); ++y)
            for (int x = inner.left(); x <= inner.right(); ++x)
                if (std::abs(face.pixelColor(x, y).lightness() - face.pixelColor(inner.left(), y).lightness()) > 30)
                    ink |= QRect(x, y, 1, 1);
        margins[window->objectName() + u'.' + b->objectName()] = {ink.left(), face.width() - 1 - ink.right(), !b->picture().isNull()};
    }
    return margins;
}

/// The widget an entry names: "form", "name" or "name(digit)".
QWidget* target(QWidget* window, const QString& name)
{
    static const QRegularExpression element(u"^(\\w+)\\((\\d)\\)$"_s);
    const QRegularExpressionMatch m = element.match(name);
    if (name == u"form")
        return window;
    return m.hasMatch() ? findArrayElement(window, m.captured(1), m.captured(2).toInt()) : findControl(window, name);
}

using ShippedLanguages = test::WindowFixture;

TEST_F(ShippedLanguages, FitTheWindowsAndTranslateEveryText)
{
    const QStringList files = QDir(folder.file("language")).entryList({u"*.lng"_s}, QDir::Files);
    EXPECT_TRUE(files.contains(u"english.lng"_s));
    EXPECT_GE(files.size(), 2);
    const QByteArray store = folder.read("templates/textdata.txt");
    static const QRegularExpression hebrew(u"[\u05D0-\u05EA]"_s);
    // The five windows with a page chosen, in the stored language.
    auto openWindows = [&](const std::function<void(QWidget*)>& each) {
        start();
        choose("birthday");
        TxteditWindow txtedit(*program, 8, window.get(), QSize(800, 600));
        PiceditWindow picedit(*program, 10, folder.file("temppic/sample_cat.jpg"), window.get(), QSize(800, 600));
        OptionsWindow options(*program, [] {}, window.get());
        for (QWidget* w : {static_cast<QWidget*>(window.get()), static_cast<QWidget*>(&window->output()), static_cast<QWidget*>(&txtedit),
                           static_cast<QWidget*>(&picedit), static_cast<QWidget*>(&options)})
            each(w);
    };
    std::map<QString, Margins> own;
    openWindows([&](QWidget* w) { own.merge(buttonMargins(w)); });
    for (const QString& file : files) {
        SCOPED_TRACE(file.toStdString());
        const QString path = folder.file(u"language/"_s + file);
        const QByteArray bytes = test::readFile(path);
        EXPECT_EQ(bytes.count('\n'), bytes.count("\r\n")) << "every line ends in CR LF";
        QStringDecoder decode("windows-1255");
        const QString text = decode(bytes);
        EXPECT_FALSE(decode.hasError());
        for (QChar c : text)
            EXPECT_TRUE(c.unicode() < 0x80 || (c.unicode() >= 0x05D0 && c.unicode() <= 0x05EA)) << std::hex << int(c.unicode());

        QString language = file.chopped(4);
        folder.write("templates/textdata.txt", QByteArray(store).replace("lang=hebrew", "lang=" + language.toLatin1()));
        openWindows([&](QWidget* w) {
            const QString section = w->objectName();
            const QStringList lines = readSectionLines(path, section);
            EXPECT_FALSE(lines.isEmpty()) << section.toStdString();
            EXPECT_LE(sectionBufferLength(lines), kLanguageSectionBuffer - 1) << section.toStdString() << " is cut";
            // What the window made of the entries since; applied again, each reads back.
            ApplyLanguage(w, folder.path(), language);
            QStringList keys;
            for (const QString& line : lines) {
                const auto entry = parseLanguageEntry(line);
                ASSERT_TRUE(entry) << line.toStdString();
                const QString key = entry->target + u'.' + entry->property;
                EXPECT_FALSE(keys.contains(key, Qt::CaseInsensitive)) << "twice: " << key.toStdString();
                keys << key;
                EXPECT_FALSE(kStateTags.contains(key, Qt::CaseInsensitive)) << "state tag " << key.toStdString();
                EXPECT_FALSE(entry->value.trimmed().isEmpty()) << key.toStdString();
                QWidget* widget = target(w, entry->target);
                ASSERT_NE(widget, nullptr) << section.toStdString() << ": " << line.toStdString();
                // Booleans read back in their own spelling ("false" for "False").
                EXPECT_EQ(readToolkitProperty(widget, entry->property).value_or(QVariant()).toString().toLower(),
                          entry->value.toLower())
                    << section.toStdString() << ": " << line.toStdString();
            }
            // Buttons mirror their Hebrew look: a centred caption stays
            // centred, one at the right edge goes to the left edge, as far
            // from it (give or take an asymmetric picture); a caption too
            // long to stand beside its picture goes centred under it.
            for (const auto& [name, now] : buttonMargins(w)) {
                const Margins was = own.at(name);
                const int edge = was.right < was.left ? now.left - was.right : now.right - was.left;
                EXPECT_TRUE(was.centred() ? now.centred() : (std::abs(edge) <= 3 || (now.pictured && now.centred())))
                    << name.toStdString() << " was " << was.left << "," << was.right << " is " << now.left << "," << now.right;
            }
            const QList<QWidget*> all = windowControls(w) << w;
            for (QWidget* c : all) {
                for (const QString& p : {u"Caption"_s, u"ToolTipText"_s, u"Tag"_s}) {
                    const QString value = readToolkitProperty(c, p).value_or(QVariant()).toString();
                    EXPECT_FALSE(value.contains(hebrew)) << section.toStdString() << ": " << c->objectName().toStdString()
                                                         << '.' << p.toStdString() << " = " << value.toStdString();
                }
            }
            // The slider's "high" end is named under that end, not partway along.
            if (const auto* high = w->findChild<QLabel*>(u"highh"_s)) {
                const QRect label = high->geometry();
                const int textEnd = high->alignment() & Qt::AlignRight
                    ? label.right() : label.left() + high->fontMetrics().horizontalAdvance(high->text());
                EXPECT_NEAR(textEnd, w->findChild<QSlider*>(u"Slider"_s)->geometry().right(), 4) << high->text().toStdString();
            }
        });
    }
}

// Every message the program looks up has its text in each shipped language:
// a missing one shows in the built-in Hebrew in the middle of an English
// or Dutch interface.
TEST(ShippedMessages, EveryMessageIsInEachLanguage)
{
    const QDir source(QStringLiteral(NUVELA_SOURCE_DATA "/.."));
    static const QRegularExpression lookup(u"uiText\\([^,;]+,\\s*u\"(\\w+)\""_s);
    QStringList keys;
    for (const QString& area : {u"windows"_s, u"app"_s}) {
        QDirIterator it(source.filePath(area), {u"*.cpp"_s}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString code = QString::fromUtf8(test::readFile(it.next()));
            for (const QRegularExpressionMatch& m : lookup.globalMatch(code))
                keys << m.captured(1);
        }
    }
    keys.removeDuplicates();
    EXPECT_GT(keys.size(), 20) << "the lookups are no longer found";
    const QDir languages(QStringLiteral(NUVELA_SOURCE_DATA "/language"));
    for (const QString& file : languages.entryList({u"*.lng"_s}, QDir::Files)) {
        const QStringList lines = readSectionLines(languages.filePath(file), u"messages"_s);
        for (const QString& key : keys) {
            const bool found = std::any_of(lines.begin(), lines.end(),
                                           [&](const QString& line) { return line.startsWith(key + u'='); });
            EXPECT_TRUE(found) << file.toStdString() << " lacks " << key.toStdString();
        }
    }
}

/// What a language entry may touch on window and its controls, as
/// "name.Property" (name(i) for an array's element) to value; "dir" is the
/// reading direction Qt lays out in, "hidden" an explicit hide.
QMap<QString, QString> looks(QWidget* window)
{
    QMap<QString, QString> state{{u"form.Caption"_s, window->windowTitle()},
                                 {u"form.Enabled"_s, readToolkitProperty(window, u"Enabled")->toString()}};
    const QList<QWidget*> all = windowControls(window) << window;
    for (QWidget* w : all) {
        const auto index = arrayIndex(w);
        const QString name = w == window ? u"form"_s : index ? u"%1(%2)"_s.arg(w->objectName()).arg(*index) : w->objectName();
        for (const QString& p : {u"Caption"_s, u"ToolTipText"_s, u"Tag"_s, u"RightToLeft"_s, u"Alignment"_s, u"Left"_s, u"PictureAlignment"_s})
            state.insert(name + u'.' + p, readToolkitProperty(w, p).value_or(QVariant()).toString());
        state[name + u".dir"_s] = w->layoutDirection() == Qt::RightToLeft ? u"rtl"_s : u"ltr"_s;
        state[name + u".hidden"_s] = w->testAttribute(Qt::WA_WState_ExplicitShowHide) && w->isHidden() ? u"yes"_s : u"no"_s;
    }
    return state;
}

// Entries of a language of the user's own on the picture editor, and all they
// change ("name.Property=value", split at "|"). The widget an entry names reads
// left to right, but for panels; the mirror and the options move to the left edge.
TEST_F(ShippedLanguages, EachEntryChangesItsWidgetAndNothingElse)
{
    const QString picstat = u"picstat(3).Left=100|picstat(3).RightToLeft=false|picstat(3).Alignment=0|picstat(3).dir=ltr"_s;
    const QString flip = u"flip.Left=100|flip.RightToLeft=false|flip.Alignment=0|flip.dir=ltr"_s;
    const QString label = u"Label1.RightToLeft=false|Label1.dir=ltr"_s;
    // Its picture's side mirrored: left of a centred caption becomes right of it.
    const QString loadpic = u"loadpic.PictureAlignment=1|loadpic.RightToLeft=false|loadpic.dir=ltr"_s;
    const QString longCaption(600, u'd');
    const std::pair<QString, QString> entries[] = {
        {u"picstat(3).Caption=Centred"_s, u"picstat(3).Caption=Centred|"_s + picstat},
        {u"picstat(12).Caption=Twelve\npicstat(x).Caption=X\nnothere.Caption=X"_s, {}},
        {u"form.Caption=Picture editor"_s, u"form.Caption=Picture editor|form.RightToLeft=false|form.dir=ltr"_s},
        {u"Label1.Caption=a=b"_s, u"Label1.Caption=a|"_s + label}, // a value stops at its own "="
        {u"flip.Caption=Mirror picture"_s, u"flip.Caption=Mirror picture|"_s + flip},
        {u"loadpic.Caption=Load picture..."_s, u"loadpic.Caption=Load picture...|"_s + loadpic},
        {u"Frame1.Caption=Picture position"_s, u"Frame1.Caption=Picture position"_s}, // the buttons inside keep theirs too
        {u"LABEL1.caption=Hi"_s, u"Label1.Caption=Hi|"_s + label}, // names and properties in any letter case
        {u"loadpic.Visible=False"_s, u"loadpic.hidden=yes|"_s + loadpic},
        {u"form.Visible=False\nFORM.enabled=0"_s, {}}, // the window can be neither hidden nor disabled
        {u"Label1.Frobnicate=1"_s, label},
        {u"flip.Caption=\nLabel1.Tag=\nloadpic.Caption==x"_s, {}}, // keys not translated yet keep the window's texts
        // Malformed lines are skipped and leave nothing behind for the next one.
        {u"Label1.Caption=First\nflip.Caption\nloadpicCaption=Oops\nflip.Tag=t"_s, u"Label1.Caption=First|flip.Tag=t|"_s + label + u'|' + flip},
        // Only the window's own section counts, and only its first.
        {u"Label1.Tag=t\n[article]\nflip.Caption=Wrong window\n[picedit]\nLabel1.Caption=Second section"_s, u"Label1.Tag=t|"_s + label},
        // An entry the section buffer cuts is not applied at all, nor any after it.
        {u"picstat(3).Caption="_s + longCaption + u"\nLabel1.Caption="_s + QString(700, u'z') + u"\nflip.Caption=After the cut"_s,
         u"picstat(3).Caption="_s + longCaption + u'|' + picstat},
    };
    start();
    choose("birthday");
    for (const auto& [lines, changes] : entries) {
        SCOPED_TRACE(lines.left(60).toStdString());
        PiceditWindow editor(*program, 10, folder.file("temppic/sample_cat.jpg"), window.get(), QSize(800, 600));
        QMap<QString, QString> expected = looks(&editor);
        for (const QString& change : changes.split(u'|', Qt::SkipEmptyParts)) {
            ASSERT_TRUE(expected.contains(change.section(u'=', 0, 0))) << change.toStdString();
            expected[change.section(u'=', 0, 0)] = change.section(u'=', 1);
        }
        folder.write("language/mine.lng", test::ansi(u"[picedit]\n"_s + lines + u'\n'));
        QString language = u"mine"_s;
        ApplyLanguage(&editor, folder.path(), language);
        const QMap<QString, QString> after = looks(&editor);
        for (auto it = expected.cbegin(); it != expected.cend(); ++it)
            EXPECT_EQ(after.value(it.key()), it.value()) << it.key().toStdString();
    }
}

} // namespace
