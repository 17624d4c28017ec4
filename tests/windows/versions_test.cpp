#include "support/pixels.h"
#include "windowfixture.h"

#include "store/inidocument.h"
#include "store/versions.h"
#include "windows/common/buttonplus.h"
#include "windows/common/controls.h"
#include "windows/common/toolkitproperties.h"
#include "windows/common/webpane.h"
#include "windows/main/pageview.h"
#include "windows/options/optionswindow.h"
#include "windows/output/picformwindow.h"
#include "windows/textedit/txteditwindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QSlider>
#include <QTest>
#include <QTimer>

#include <ret/retainer.h>

using nuvela::ScriptedDialogs;

namespace {

/// Version scenarios driven through the main window with real key events.
class Versions : public test::WindowFixture {
protected:
    QByteArray store() const { return folder.read("templates/textdata.txt"); }
    QString value(const QString& section, const QString& key) const
    {
        return nuvela::IniDocument(store()).value(section, key).value_or(QStringLiteral("<none>"));
    }
    /// What an editor does after a confirmed change of a text.
    void edit(int object, const QString& text)
    {
        program->state.growLiveTables(object);
        program->state.liveTexts[object] = text;
        window->markModified();
    }
    /// Title and text of the last message box asked or told.
    QString lastMessage() const
    {
        const auto& r = dialogs.requests();
        return r.empty() ? QString() : r.back().title + u'|' + r.back().text;
    }
    QString tag(const char* name, int index = -1) const
    {
        const QString n = QString::fromLatin1(name);
        QWidget* w = window.get();
        return nuvela::widgetTag(index < 0 ? nuvela::findControl(w, n) : nuvela::findArrayElement(w, n, index));
    }
    static constexpr auto kSaveAs = Qt::ControlModifier | Qt::ShiftModifier;
};

TEST_F(Versions, SaveAsNewAndTheMarkedVersion)
{
    start();
    choose("bar-mitzvah"); // three stored versions
    const QByteArray before = store();
    edit(4, QStringLiteral("כותרת חדשה\r\nשורה שנייה"));
    press(window.get(), Qt::Key_S, kSaveAs);
    // The new version is appended whole; everything before it stays byte for byte.
    ASSERT_TRUE(store().startsWith(before));
    EXPECT_TRUE(store().mid(before.size()).startsWith(test::ansi("[tav103girsa4]\ntxt0=ok\n")));
    EXPECT_EQ(value("tav103girsa4", "txt4"), u"כותרת חדשה~שורה שנייה");
    EXPECT_EQ(window->versionScroller()->maximum(), 4);
    EXPECT_EQ(window->versionCounter()->text(), u"גירסה - 4");
    EXPECT_EQ(window->updateButton()->borderStyle(), nuvela::ButtonBorder::Normal);

    // A change on version 2, then version 3 chosen by key: Yes saves into 2.
    window->versionScroller()->setValue(2);
    edit(4, QStringLiteral("לגירסה שתיים"));
    dialogs.answerAsk(true);
    press(window->versionScroller(), Qt::Key_Right);
    EXPECT_EQ(lastMessage(), QStringLiteral("שים לב|") + tag("savetxt"));
    EXPECT_EQ(value("tav103girsa2", "txt4"), u"לגירסה שתיים");
    EXPECT_EQ(program->state.version, 3);
    EXPECT_EQ(program->state.liveTexts.value(4), value("tav103girsa3", "txt4"));
}

TEST_F(Versions, DeleteRenumbersAndKeepsTheMarkerOnItsVersion)
{
    start();
    choose("bar-mitzvah");
    const QString third = value("tav103girsa3", "txt4");
    window->versionScroller()->setValue(2);
    edit(4, QStringLiteral("יימחק"));
    dialogs.answerAsk(true);
    window->deleteButton()->click();
    EXPECT_EQ(lastMessage(), QStringLiteral("מחיקה|") + tag("deltext"));
    EXPECT_TRUE(dialogs.requests().back().error) << "deleting asks under the stop sign";
    EXPECT_EQ(value("tav103girsa2", "txt4"), third);
    EXPECT_EQ(value("tav103girsa3", "txt0"), u"<none>");
    EXPECT_FALSE(program->state.isModified()); // nothing may update a renumbered version
    EXPECT_EQ(window->versionScroller()->maximum(), 2);
    EXPECT_EQ(program->state.liveTexts.value(4), third);

    window->versionScroller()->setValue(1);
    program->state.modified = QStringLiteral("2"); // a marker on a later version follows it down
    dialogs.answerAsk(true);
    window->deleteButton()->click();
    EXPECT_EQ(program->state.modified, u"1");
}

TEST_F(Versions, EdgesOfTheStore)
{
    for (const auto& [name, id] : {std::pair{"plain", "id=106"}, std::pair{"noid", "idx=106"}})
        folder.write(QStringLiteral("templates/%1.ini").arg(QLatin1String(name)),
                     folder.read("templates/wedding.ini").replace("id=102", id));
    QByteArray ten = store(); // and two more, beyond what is counted
    for (int n = 2; n <= 12; ++n)
        ten += test::ansi(QStringLiteral("[tav102girsa%1]\ntxt0=ok\n").arg(n));
    start();

    // No version stored: both keys write version 1.
    for (Qt::KeyboardModifiers keys : {Qt::KeyboardModifiers(Qt::ControlModifier), kSaveAs}) {
        folder.write("templates/textdata.txt", ten);
        choose("wedding");
        choose("plain");
        EXPECT_FALSE(window->deleteButton()->isEnabled());
        edit(4, QStringLiteral("ראשונה"));
        press(window.get(), Qt::Key_S, keys);
        EXPECT_EQ(value("tav106girsa1", "txt4"), u"ראשונה");
        EXPECT_EQ(value("tav106girsa2", "txt0"), u"<none>");
        EXPECT_TRUE(window->deleteButton()->isEnabled());
    }

    // Ten versions: save as new is refused, update still works.
    choose("wedding");
    EXPECT_EQ(window->versionScroller()->maximum(), 10);
    edit(4, QStringLiteral("עשירית"));
    const QByteArray full = store();
    press(window.get(), Qt::Key_S, kSaveAs);
    EXPECT_EQ(store(), full);
    EXPECT_EQ(lastMessage(), QStringLiteral("שים לב|") + tag("msgver", 1));
    press(window.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(value("tav102girsa1", "txt4"), u"עשירית");

    // No identifier: drawn, but nothing can be saved, and the buttons say why.
    choose("noid");
    EXPECT_EQ(window->titlePanel()->caption(), u"תבנית"); // named without an identifier
    edit(4, QStringLiteral("x"));
    for (auto* b : {window->saveAsButton(), window->updateButton(), window->deleteButton()}) {
        EXPECT_FALSE(b->isEnabled());
        EXPECT_EQ(b->toolTip(), tag("msgver", 2));
    }
    const QByteArray unchanged = store();
    press(window.get(), Qt::Key_S, Qt::ControlModifier);
    // Leaving says the changes cannot be kept, rather than offering to save them.
    choose("wedding");
    EXPECT_EQ(lastMessage(), QStringLiteral("שים לב|") + tag("msgver", 2));
    EXPECT_EQ(program->state.tavnit, u"wedding");
    EXPECT_EQ(store(), unchanged);
}

// Another Nuvela on the same folder deletes (renumbers) or saves versions
// while this window shows version 3: an update here asks before it replaces
// what that one stored, and a delete removes nothing it did not show.
TEST_F(Versions, AnotherProgramsVersionIsNeitherReplacedNorDeletedUnasked)
{
    const auto deleteSecond = [](const QByteArray& s) { return nuvela::withoutVersion(s, QStringLiteral("103"), 2); };
    const auto saveThird = [](const QByteArray& s) {
        nuvela::IniDocument doc(s);
        doc.setValue(u"tav103girsa3", u"txt4", u"נשמר בחלון אחר");
        return doc.bytes();
    };
    const auto untouched = [](const QByteArray& s) { return s; };
    const struct {
        const char* name;
        std::function<QByteArray(const QByteArray&)> elsewhere;
        bool deleting, yes, written;
    } cases[] = {
        {"renumbered, update refused", deleteSecond, false, false, false},
        {"renumbered, update agreed", deleteSecond, false, true, true},
        {"saved, update refused", saveThird, false, false, false},
        {"nothing changed: no question", untouched, false, false, true},
        {"renumbered, delete", deleteSecond, true, true, false},
        {"saved, delete", saveThird, true, true, false},
    };
    const QByteArray original = store();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        folder.write("templates/textdata.txt", original);
        start();
        choose("bar-mitzvah");
        window->versionScroller()->setValue(3);
        const QByteArray theirs = c.elsewhere(original);
        folder.write("templates/textdata.txt", theirs);
        const qsizetype asked = dialogs.requests().size();
        if (c.deleting || theirs != original)
            dialogs.answerAsk(c.yes);
        if (c.deleting) {
            window->deleteButton()->click();
        } else {
            edit(4, QStringLiteral("כאן"));
            press(window.get(), Qt::Key_S, Qt::ControlModifier);
        }
        EXPECT_EQ(dialogs.requests().size() - asked, theirs == original ? 0 : c.deleting ? 2 : 1);
        EXPECT_TRUE(dialogs.allAnswered());
        if (c.written) {
            EXPECT_EQ(value("tav103girsa3", "txt4"), u"כאן");
            EXPECT_FALSE(program->state.isModified());
        } else {
            EXPECT_EQ(store(), theirs);
            EXPECT_EQ(program->state.modified, c.deleting ? QString() : QStringLiteral("3"));
        }
    }
}

TEST_F(Versions, AFailedSaveKeepsTheChangesEverywhere)
{
    start();
    choose("birthday");
    const QByteArray before = store();
    QFile::setPermissions(folder.file("templates/textdata.txt"), QFileDevice::ReadOwner);
    edit(8, QStringLiteral("לא יישמר"));
    press(window.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(lastMessage().startsWith(QStringLiteral("שגיאה|") + tag("msgver", 0) + u'\n'));
    EXPECT_EQ(program->state.modified, u"1");
    EXPECT_TRUE(window->updateButton()->isEnabled());

    // Yes at the prompt but the save fails: the version, the page and the program stay.
    dialogs.answerAsk(true);
    window->versionScroller()->setValue(2);
    EXPECT_EQ(program->state.version, 1);
    EXPECT_EQ(window->versionScroller()->value(), 1);
    dialogs.answerAsk(true);
    static_cast<QAbstractButton*>(nuvela::findArrayElement(window.get(), u"nav", 0))->click();
    EXPECT_FALSE(window->pageView()->parentWidget()->isHidden()) << "the web pane hid the unsaved page";
    EXPECT_TRUE(window->updateButton()->isEnabled());
    dialogs.answerAsk(true);
    window->close();
    EXPECT_EQ(quits, 0);
    EXPECT_EQ(program->state.modified, u"1");
    EXPECT_EQ(store(), before);
    dialogs.answerAsk(false); // No discards and lets the program end
    window->close();
    EXPECT_EQ(quits, 1);
    EXPECT_EQ(dialogs.requests().back().ask, nuvela::Ask::NoDiscardsWork) << "Esc must not discard";
}

// Why a save failed, in Hebrew but for the file's path or the sign at fault.
TEST_F(Versions, AFailedSaveSaysWhatToDo)
{
    const QString path = QDir::toNativeSeparators(folder.file("templates/textdata.txt"));
    const struct {
        const char* name;
        bool readOnly;
        QString text;
        QString says, besides; // besides: the only Latin the message may hold
        bool folderInPlace = false; // the store turned into a folder after the page was drawn
    } cases[] = {
        {"read-only store", true, QStringLiteral("לא יישמר"), QStringLiteral("מוגנים מפני כתיבה"), path},
        {"emoji, each named once", false, QStringLiteral("שלום \U0001F600 לכולם \U0001F389\U0001F600\u200D"),
         QStringLiteral("\"\U0001F600\", \"\U0001F389\", \"U+200D\""), QStringLiteral("Windows-1255")},
        {"Arabic", false, QStringLiteral("שלום \u0639"), QStringLiteral("\"\u0639\""), QStringLiteral("Windows-1255")},
        {"the store's miss word first", false, QStringLiteral("  Failed? Never mind"), QStringLiteral("\"Failed\""), QStringLiteral("Failed")},
        {"a joiner, seen by its code", false, QStringLiteral("שלום\u200Dלכולם"), QStringLiteral("\"U+200D\""), QStringLiteral("Windows-1255")},
        {"a folder in the store's place", false, QStringLiteral("לא יישמר"), QStringLiteral("מוגנים מפני כתיבה"), path, true},
    };
    const QByteArray original = store();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(path).removeRecursively();
        folder.write("templates/textdata.txt", original);
        QFile::setPermissions(folder.file("templates/textdata.txt"),
                              c.readOnly ? QFileDevice::ReadOwner : QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        start();
        choose("birthday");
        if (c.folderInPlace) {
            ASSERT_TRUE(QFile::remove(path) && QDir().mkdir(path));
        }
        edit(8, c.text);
        press(window.get(), Qt::Key_S, Qt::ControlModifier);
        const QString told = lastMessage();
        EXPECT_TRUE(told.startsWith(QStringLiteral("שגיאה|") + tag("msgver", 0) + u'\n')) << told.toStdString();
        EXPECT_TRUE(told.contains(c.says)) << told.toStdString();
        EXPECT_FALSE(QString(told).remove(c.besides).contains(QRegularExpression(QStringLiteral("[A-Za-z]{2,}"))))
            << told.toStdString();
        EXPECT_EQ(program->state.modified, u"1");
        EXPECT_EQ(c.folderInPlace ? original : store(), original);
    }
}

TEST_F(Versions, EveryWayOffThePageAsksFirst)
{
    const std::pair<const char*, std::function<void()>> cases[] = {
        {"another template", [this] { choose("wedding"); }},
        {"logo text", [this] { window->findChild<QCheckBox*>("kotxt")->click(); }},
        {"web pane", [this] { static_cast<QAbstractButton*>(nuvela::findArrayElement(window.get(), u"nav", 0))->click(); }},
        {"exit", [this] { window->close(); }},
    };
    const QByteArray original = store();
    for (const auto& [name, leave] : cases) {
        folder.write("templates/textdata.txt", original);
        start();
        choose("birthday");
        edit(8, QString::fromLatin1(name));
        dialogs.answerAsk(true);
        leave();
        EXPECT_EQ(value("tav101girsa1", "txt8"), QLatin1String(name));
        EXPECT_FALSE(program->state.isModified()) << name;
        EXPECT_TRUE(dialogs.allAnswered()) << name;
    }
}

// No at the prompt drops the changes from the page too, or the next save
// would store what the user refused (here: the prompt of the mouse entering
// the gallery, after which no other template is chosen).
TEST_F(Versions, NoAtThePromptPutsTheStoredVersionBack)
{
    start();
    choose("birthday");
    const QString text = value("tav101girsa1", "txt8");
    edit(8, QStringLiteral("לא לשמור"));
    window->removePicture(10);
    EXPECT_EQ(program->state.gpic[10].tag, u"nopic");
    dialogs.answerAsk(false);
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(window->gallery()->viewport(), &move);
    EXPECT_TRUE(dialogs.allAnswered());
    EXPECT_EQ(program->state.liveTexts.value(8), text);
    EXPECT_EQ(program->state.gpic[10].tag, u"birthday_beach.jpg");
    edit(2, QStringLiteral("שינוי אחר"));
    press(window.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(value("tav101girsa1", "txt8"), text);
    EXPECT_EQ(value("tav101girsa1", "pic10"), u"birthday_beach.jpg");
}

TEST_F(Versions, OptionsWindowByKeyboard)
{
    // The window shows the quality that saved pages get ("80.5" saves at 80).
    folder.write("templates/textdata.txt", store().replace("jpgcompress=80\r\n", "jpgcompress=80.5\r\n"));
    folder.write(QStringLiteral("language/français.lng"), folder.read("language/english.lng"));
    start();
    const QByteArray before = store();
    QString opened;
    QTimer::singleShot(0, [&] {
        opened = QApplication::activeModalWidget()->objectName();
        QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape); // closes, stores nothing
    });
    window->optionsButton()->click();
    EXPECT_EQ(opened, u"optionfrm");
    nuvela::OptionsWindow options(*program, [this] { window->relabel(); }, window.get());
    EXPECT_EQ(options.counter()->text(), u"80");
    EXPECT_EQ(options.languages()->currentText(), u"Hebrew");

    EXPECT_EQ(options.focusWidget(), options.counter());
    press(options.slider(), Qt::Key_Right);
    EXPECT_EQ(options.counter()->text(), u"81");
    // Right to left: the number, the slider at its left, then down.
    QTest::keyClick(options.slider(), Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), options.counter());
    const QImage unfocused = options.slider()->grab().toImage();
    QImage focused;
    for (QWidget* next : std::initializer_list<QWidget*>{options.slider(), options.languages(), options.updateButton()}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next);
        if (next == options.slider())
            focused = options.slider()->grab().toImage();
    }
    EXPECT_EQ(test::unmarkedSides(focused, unfocused), QStringList());
    for (const char* refused : {"abc", "150", "0"}) {
        options.counter()->setText(QString::fromLatin1(refused));
        QTest::keyClick(options.counter(), Qt::Key_Return);
        EXPECT_EQ(store(), before) << refused;
        EXPECT_EQ(lastMessage(), QStringLiteral("שים לב|") + nuvela::widgetTag(options.findChild<QLabel*>("msgopt")));
    }
    // A language whose name Windows-1255 cannot hold is not stored, and says what to do.
    options.languages()->setCurrentIndex(options.languages()->findText(QStringLiteral("français")));
    options.counter()->setText(QStringLiteral("80"));
    QTest::keyClick(options.counter(), Qt::Key_Return);
    EXPECT_EQ(store(), before);
    EXPECT_TRUE(lastMessage().contains(u"français") && lastMessage().contains(u"Windows-1255")) << lastMessage().toStdString();
    EXPECT_NE(options.result(), QDialog::Accepted);
    options.languages()->setCurrentIndex(0);
    options.counter()->selectAll();
    QTest::keyClicks(options.counter(), QStringLiteral("60"));
    EXPECT_EQ(options.slider()->value(), 60);
    window->output(); // loaded in Hebrew, before the language changes
    QTest::keyClick(options.languages(), Qt::Key_Down);
    QTest::keyClick(options.languages(), Qt::Key_Return);
    EXPECT_EQ(options.result(), QDialog::Accepted);
    EXPECT_EQ(store(), QByteArray(before).replace("lang=hebrew\r\njpgcompress=80.5", "lang=english\r\njpgcompress=60"));
    EXPECT_EQ(window->versionCounter()->text(), u"Version #1");
    EXPECT_EQ(window->output().findChild<QComboBox*>(QStringLiteral("dpi"))->itemText(0), u"Screen (96 dpi)");

    // A missing quality shows 75; a failed write keeps the language.
    const QByteArray plain = test::ansi("[interface]\nlang=english\n");
    folder.write("templates/textdata.txt", plain);
    QFile::setPermissions(folder.file("templates/textdata.txt"), QFileDevice::ReadOwner);
    nuvela::OptionsWindow again(*program, [this] { window->relabel(); }, window.get());
    EXPECT_EQ(again.slider()->value(), 75);
    EXPECT_EQ(again.counter()->text(), u"75");
    again.languages()->setCurrentIndex(0);
    again.update();
    EXPECT_TRUE(lastMessage().startsWith(u"Error|"));
    EXPECT_EQ(program->state.language, u"english");
    EXPECT_EQ(store(), plain);
}

// Update stores what the user changed in the window, nothing else: another
// Nuvela's language chosen since this one started stays, and an untouched
// window leaves the store as it was, byte for byte.
TEST_F(Versions, OptionsStoreOnlyWhatWasChanged)
{
    const QByteArray original = store();
    const QByteArray theirs = QByteArray(original).replace("lang=hebrew", "lang=english");
    const struct {
        const char* name;
        const char* typed; // "" leaves the quality as shown
        QByteArray expected;
    } cases[] = {
        {"quality typed", "60", QByteArray(theirs).replace("jpgcompress=80", "jpgcompress=60")},
        {"nothing changed", "", theirs},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        folder.write("templates/textdata.txt", original);
        start();
        nuvela::OptionsWindow options(*program, [this] { window->relabel(); }, window.get());
        folder.write("templates/textdata.txt", theirs); // the other Nuvela chose English
        if (*c.typed) {
            options.counter()->selectAll();
            QTest::keyClicks(options.counter(), QString::fromLatin1(c.typed));
        }
        QTest::keyClick(options.counter(), Qt::Key_Return);
        EXPECT_EQ(options.result(), QDialog::Accepted);
        EXPECT_EQ(store(), c.expected);
    }
}

// The gallery panel's caption follows every switch: with a template, with
// one without an identifier, and back on the start page.
TEST_F(Versions, GalleryCaptionFollowsTheLanguage)
{
    folder.write("templates/noid.ini", folder.read("templates/wedding.ini").replace("id=102", "idx=102"));
    startIn(QStringLiteral("english"));
    auto switchTo = [this](int choice) {
        nuvela::OptionsWindow options(*program, [this] { window->relabel(); }, window.get());
        options.languages()->setCurrentIndex(choice);
        options.update();
    };
    auto home = [this] { QTest::mouseClick(nuvela::findArrayElement(window.get(), u"nav", 0), Qt::LeftButton); };
    const std::pair<std::function<void()>, const char16_t*> steps[] = {
        {[&] { choose("noid"); }, u"Template"},  {[&] { switchTo(0); }, u"תבנית"},
        {home, u"     - תבנית"},                 {[&] { switchTo(1); }, u"Template"},
        {[&] { choose("birthday"); }, u"Template #101"}, {[&] { switchTo(0); }, u"תבנית - 101"},
        {home, u"     - תבנית"},                 {[&] { switchTo(1); }, u"Template"},
    };
    for (const auto& [step, caption] : steps) {
        step();
        EXPECT_EQ(window->titlePanel()->caption(), QStringView(caption));
    }
}

// Every text, reading order and alignment a language can change, per control.
QStringList snapshot(QWidget* window)
{
    QStringList out;
    const QList<QWidget*> widgets = nuvela::windowControls(window) << window;
    for (QWidget* w : widgets) {
        QString line = w->objectName() + QString::number(int(w->layoutDirection()));
        for (const char* p : {"Caption", "ToolTipText", "Tag", "RightToLeft", "Alignment", "PictureAlignment", "Left"})
            line += u'|' + nuvela::readToolkitProperty(w, QString::fromLatin1(p)).value_or(QVariant()).toString();
        out << line;
    }
    return out;
}

// Qt's own dialogs, message buttons and menus follow each switch too.
TEST_F(Versions, LanguagesSwitchBackAndForthInOpenWindows)
{
    start();
    QTest::mouseClick(nuvela::findArrayElement(window.get(), u"nav", 3), Qt::LeftButton);
    // Sorted: showing a page raises the pane among its siblings.
    const auto controls = [this] {
        QStringList all = snapshot(window.get()) + snapshot(&window->output());
        all.sort();
        return all;
    };
    const QStringList hebrew = controls();
    struct Case { int choice; const char16_t* saveAs; const char16_t* yes; Qt::LayoutDirection direction; const char16_t* page; };
    // The help page on show follows the language, and so does the start page.
    for (const Case& c : {Case{1, u"Save as", u"&Yes", Qt::LeftToRight, u"/help-english.html"},
                          Case{2, u"Nieuw", u"&Ja", Qt::LeftToRight, u"/preload-nederlands.html"},
                          Case{0, u"שמור כ", u"&כן", Qt::RightToLeft, u"/preload.html"}}) {
        if (c.choice == 2)
            QTest::mouseClick(nuvela::findArrayElement(window.get(), u"nav", 0), Qt::LeftButton);
        nuvela::OptionsWindow options(*program, [this] { window->relabel(); }, window.get());
        options.languages()->setCurrentIndex(c.choice);
        options.update();
        EXPECT_EQ(window->saveAsButton()->caption(), QStringView(c.saveAs));
        EXPECT_TRUE(window->web()->source().toString().endsWith(QStringView(c.page))) << window->web()->source().toString().toStdString();
        EXPECT_FALSE(window->web()->isBackwardAvailable()) << "Back leads to the old language's page";
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringView(c.yes));
        EXPECT_EQ(QGuiApplication::layoutDirection(), c.direction);
        QMenu history(window.get()); // as the page's right-click opens it
        window->fillHistoryMenu(history);
        history.popup(QPoint(10, 10));
        EXPECT_EQ(history.layoutDirection(), c.direction);
        history.close();
    }
    EXPECT_EQ(controls(), hebrew);
    EXPECT_EQ(value("interface", "lang"), u"Hebrew");
}

// A language file that an editor saved as UTF-8 or UTF-16 is said at start
// and when chosen, in the file's language where it can, else in Hebrew and
// English; a good one says nothing.
TEST_F(Versions, ALanguageFileThatCannotServeIsSaid)
{
    folder.write("language/francais.lng", QStringLiteral("[optionfrm]\r\nupdate.Caption=Mettre à jour\r\n").toUtf8());
    const QString wide = QStringLiteral("[optionfrm]\r\nupdate.Caption=Update\r\n");
    folder.write("language/wide.lng", QByteArray(reinterpret_cast<const char*>(wide.utf16()), wide.size() * 2));
    startIn(QStringLiteral("francais"));
    window->tellLanguageFile();
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages()[0].contains(u"francais.lng")) << messages()[0].toStdString();
    EXPECT_TRUE(messages()[0].contains(u"is saved as UTF-8"));
    EXPECT_TRUE(messages()[0].contains(u"UTF-8, ולכן"));
    for (const char16_t* name : {u"english", u"wide"}) {
        nuvela::OptionsWindow options(*program, [this] { window->relabel(); }, window.get());
        options.languages()->setCurrentIndex(options.languages()->findText(QString::fromUtf16(name)));
        options.update();
    }
    ASSERT_EQ(messages().size(), 2) << "english said something";
    EXPECT_TRUE(messages()[1].contains(u"wide.lng")) << messages()[1].toStdString();
    EXPECT_TRUE(messages()[1].contains(u"cannot be read: it is not Windows-1255 text (it holds NUL bytes"));
}

// The keyboard alone reaches the version scroller, shows that it is there
// and chooses another version with the arrows.
TEST_F(Versions, TabReachesTheVersionScrollerAndItsArrowsChooseAVersion)
{
    start();
    choose("bar-mitzvah"); // three stored versions
    QScrollBar* bar = window->versionScroller();
    const QImage unfocused = bar->grab().toImage();
    press(nuvela::findControl(window.get(), QStringLiteral("chedit")), Qt::Key_Tab);
    for (int i = 0; i < 5 && QApplication::focusWidget() != bar; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), bar);
    EXPECT_NE(bar->grab().toImage(), unfocused) << "the focus is not seen";
    QTest::keyClick(bar, Qt::Key_Right);
    EXPECT_EQ(program->state.version, 2);
    EXPECT_EQ(window->versionCounter()->text(), u"גירסה - 2");
}

// A click on the scroller's arrow that brings up the question moves one
// version: the release goes to the question, and the arrow went on stepping
// (version 1 to 5 behind a Yes).
TEST_F(Versions, TheQuestionStopsTheScrollersArrow)
{
    start();
    choose("bar-mitzvah"); // three stored versions
    edit(4, QStringLiteral("נשמר"));
    QScrollBar* bar = window->versionScroller();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    dialogs.answerAsk(true);
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(bar->width() - 4, bar->height() / 2));
    QTest::qWait(1200); // past the arrow's repeat delay
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(bar->width() - 4, bar->height() / 2));
    EXPECT_EQ(value("tav103girsa1", "txt4"), u"נשמר");
    EXPECT_EQ(program->state.version, 2);
}

// Tab crosses each row of buttons the way the language reads.
TEST_F(Versions, TabCrossesButtonRowsAsTheLanguageReads)
{
    start();
    choose("birthday");
    edit(8, QStringLiteral("changed")); // every version button takes the focus
    for (const int choice : {1, 0}) {
        nuvela::OptionsWindow options(*program, [this] { window->relabel(); }, window.get());
        options.languages()->setCurrentIndex(choice);
        options.update();
        const bool rtl = choice == 0;
        for (const auto& [left, middle, right] : {std::tuple{"deltext", "updttxt", "savetxt"},
                                                  std::tuple{"cmdExit1", "proper", "showme"}}) {
            press(nuvela::findControl(window.get(), QString::fromLatin1(middle)), Qt::Key_Tab);
            EXPECT_EQ(QApplication::focusWidget()->objectName(), QString::fromLatin1(rtl ? left : right)) << middle;
        }
        // The web buttons: home and help, while back and forward have no history.
        press(nuvela::findArrayElement(window.get(), u"nav", rtl ? 3 : 0), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), nuvela::findArrayElement(window.get(), u"nav", rtl ? 0 : 3));
        nuvela::TxteditWindow editor(*program, 8, window.get(), QSize(800, 600));
        press(editor.findChild<QWidget*>("Checkall"), Qt::Key_Space); // colour and font take the focus
        QWidget* first = editor.findChild<QWidget*>(rtl ? "rowfont" : "ROWCOL");
        press(first, Qt::Key_Tab);
        EXPECT_EQ(editor.focusWidget()->objectName(), QString::fromLatin1(rtl ? "ROWCOL" : "rowfont"));
        editor.reject();
    }
}

} // namespace
