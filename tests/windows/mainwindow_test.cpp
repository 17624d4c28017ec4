// The main window as a user meets it: languages at start, templates drawn
// with their overlays, versions, logo text, the web pane, size and exit.
#include "windowfixture.h"

#include "render/imagedb/sqlite_database.h"
#include "store/ansi.h"
#include "store/inidocument.h"
#include "store/numbers.h"
#include "windows/common/buttonplus.h"
#include "windows/common/controls.h"
#include "windows/common/programfonts.h"
#include "windows/common/version.h"
#include "windows/common/webpane.h"
#include "windows/main/pageview.h"
#include "windows/output/picformwindow.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLabel>
#include <QRegularExpression>

#include <optional>

#include <fcntl.h>
#include <unistd.h>

#include <ret/retainer.h>

using test::WindowFixture;
using namespace Qt::StringLiterals;

namespace {

TEST_F(WindowFixture, StartUpInEachLanguage)
{
    folder.write("templates/x.ini.ini", folder.read("templates/wedding.ini"));
    folder.write("templates/notes.txt", "not a template");
    // A name in Windows-1255, as copied from an old system: the gallery
    // cannot hold it, so the user is told which one is left out.
    const QByteArray oldName = QFile::encodeName(folder.file("templates")) + "/\xe1\xf8\xeb\xe4.ini";
    ::close(::open(oldName.constData(), O_CREAT | O_WRONLY, 0644));
    start();
    ::unlink(oldName.constData()); // Qt's own clean-up cannot see it either
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages().first().contains(u"ברכה")) << messages().first().toStdString();
    EXPECT_EQ(window->gallery()->count(), 7);
    // The gallery lists the .ini files by their names without the extension.
    const auto x = window->gallery()->findItems(u"x"_s, Qt::MatchStartsWith);
    ASSERT_EQ(x.size(), 1);
    EXPECT_EQ(x.first()->text(), u"x.ini");
    EXPECT_TRUE(window->gallery()->findItems(u"notes"_s, Qt::MatchStartsWith).isEmpty());
    EXPECT_EQ(window->layoutDirection(), Qt::RightToLeft);
    EXPECT_EQ(window->gallery()->layoutDirection(), Qt::RightToLeft);
    // Web mode: the start page shows, no template is selected.
    EXPECT_EQ(window->gallery()->currentRow(), -1);
    EXPECT_FALSE(window->pageView()->isVisibleTo(window.get()));
    EXPECT_TRUE(window->web()->source().toString().endsWith(u"/preload.html"));
    // Hebrew is built in: a file of that name, or one outside the folder, is never read.
    folder.write("language/hebrew.lng", test::ansi("[article]\nform.Caption=Never\n"));
    for (const auto& [lang, current] : {std::pair{"klingon", "hebrew"}, {"Hebrew", "hebrew"}, {"", "hebrew"}, {"failed", "hebrew"},
                                        {"hebrew", "hebrew"}, {"../language/english", "hebrew"}, {"english", "english"}}) {
        startIn(QString::fromLatin1(lang));
        EXPECT_EQ(program->state.language, QLatin1String(current)) << lang;
        EXPECT_EQ(window->windowTitle().startsWith(u"Never") || window->titlePanel()->caption() == u"Template",
                  QLatin1String(current) == u"english") << lang;
    }
    // In English the gallery reads left to right, the panels keep their own.
    EXPECT_EQ(window->titlePanel()->caption(), u"Template");
    EXPECT_EQ(window->gallery()->layoutDirection(), Qt::LeftToRight);
    EXPECT_TRUE(window->web()->source().toString().endsWith(u"/preload-english.html"));

    // A language of the user's own names the window; the version follows.
    folder.write("language/mine.lng", test::ansi("[article]\nform.Caption=My cards\n"
                                                  "[picform]\nversion.Caption=Release\nRetainer1.Caption=View\n"));
    startIn(u"mine"_s);
    EXPECT_EQ(window->windowTitle(), u"My cards"_s + nuvela::captionVersionSuffix());
    EXPECT_TRUE(window->web()->source().toString().endsWith(u"/preload-english.html")) << "no start page of its own";
    EXPECT_EQ(window->output().findChild<QLabel*>("version")->text(), nuvela::versionLabelText());
    EXPECT_EQ(window->output().findChild<Retainer*>("Retainer1")->caption(), u"View");
    // Built in, the output window's panels have no captions.
    startIn(u"hebrew"_s);
    for (const char* name : {"Retainer1", "Retainer2"})
        EXPECT_EQ(window->output().findChild<Retainer*>(name)->caption(), QString()) << name;
}

TEST_F(WindowFixture, ChoosingATemplateAndItsVersions)
{
    // A version after a gap is not counted.
    folder.write("templates/textdata.txt", folder.read("templates/textdata.txt") + test::ansi("[tav103girsa5]\ntxt0=ok\n"));
    start();
    choose("birthday");
    const nuvela::PageState& s = program->state;
    ASSERT_EQ(window->lastOutcome().end, nuvela::PageEnd::Complete) << window->lastOutcome().error.toStdString();
    EXPECT_EQ(window->titlePanel()->caption(), u"תבנית - 101");
    nuvela::PageView* view = window->pageView();
    ASSERT_FALSE(s.katava.empty());
    // A later render leaves the overlays where they are.
    QLabel* same = view->textOverlay(s.katava.begin()->first);
    const QRect before = same->geometry();
    window->viewpic();
    EXPECT_EQ(view->textOverlay(s.katava.begin()->first), same);
    EXPECT_EQ(same->geometry(), before);
    EXPECT_EQ(view->textOverlayCount(), int(s.katava.size()));

    window->versionScroller()->setValue(2);
    EXPECT_EQ(window->versionCounter()->text(), u"גירסה - 2");
    // With the highlight ticked the overlays are filled, also those of the
    // next template and of the logo text. It opens at its first version, not
    // at the previous number.
    // The wash is multiplied onto the page: white turns yellow, the text
    // beneath stays as dark as it was.
    auto* highlight = window->findChild<QCheckBox*>("chedit");
    const auto area = [&](int n) { return view->grab(view->textOverlay(n)->geometry()).toImage(); };
    const auto washError = [](const QImage& plain, const QImage& washed) {
        int worst = 0;
        for (int y = 0; y < plain.height(); ++y)
            for (int x = 0; x < plain.width(); ++x) {
                const QColor a = plain.pixelColor(x, y), b = washed.pixelColor(x, y);
                worst = std::max({worst, std::abs(b.red() - a.red()), std::abs(b.green() - a.green() * 236 / 255),
                                  std::abs(b.blue() - a.blue() * 140 / 255)});
            }
        return worst;
    };
    const int first = s.katava.begin()->first;
    const QImage plain = area(first);
    QTest::mouseClick(highlight, Qt::LeftButton);
    EXPECT_LE(washError(plain, area(first)), 2);
    int darkest = 255;
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x)
            darkest = std::min(darkest, plain.pixelColor(x, y).lightness());
    EXPECT_LT(darkest, 100) << "no text under the first area";
    choose("bar-mitzvah");
    window->findChild<QCheckBox*>("kotxt")->click();
    std::map<int, QImage> washed;
    for (const auto& [n, box] : s.katava)
        washed[n] = area(n);
    highlight->click();
    for (const auto& [n, box] : s.katava)
        EXPECT_LE(washError(area(n), washed[n]), 2) << n;
    highlight->click();
    window->findChild<QCheckBox*>("kotxt")->click();
    EXPECT_EQ(s.version, 1);
    EXPECT_EQ(window->versionScroller()->value(), 1);
    EXPECT_EQ(window->versionScroller()->maximum(), 3);

    // Version 1 of n: a thumb of one version's share, at the left.
    window->show();
    for (const auto& [name, versions] : {std::pair{"birthday", 2}, {"bar-mitzvah", 3}}) {
        choose(name);
        const auto part = [&](QStyle::SubControl sc) { return test::scrollBarPart(window->versionScroller(), sc); };
        EXPECT_NEAR(part(QStyle::SC_ScrollBarSlider).width(), part(QStyle::SC_ScrollBarGroove).width() / double(versions), 2) << name;
        EXPECT_EQ(part(QStyle::SC_ScrollBarSlider).left(), part(QStyle::SC_ScrollBarGroove).left()) << name;
    }
}

// Before any template is chosen the list sends every key to its first item.
TEST_F(WindowFixture, GalleryKeysBeforeAnyTemplateIsChosen)
{
    for (const auto& [key, row] : {std::pair{Qt::Key_Down, 0}, {Qt::Key_Home, 0}, {Qt::Key_End, -1}}) {
        start();
        QListWidget* gallery = window->gallery();
        gallery->setFocus();
        QTest::keyClick(gallery, key);
        const int expected = row < 0 ? gallery->count() - 1 : row;
        EXPECT_EQ(program->state.tavnit, gallery->item(expected)->text()) << key;
        EXPECT_EQ(gallery->currentRow(), expected) << key;
    }
}

// On a screen scaled by 1.5 or 2 the page is drawn from its own pixels into
// the screen's: its finest lines stay sharp, not scaled to the view's
// pixels first and then blown up into grey.
TEST(PageView, FineLinesStaySharpOnScaledScreens)
{
    for (const qreal ratio : {1.0, 1.5, 2.0}) {
        nuvela::PageView view;
        view.resize(100, 100);
        QImage page(QSize(100, 100) * ratio, QImage::Format_RGB32);
        for (int x = 0; x < page.width(); ++x)
            for (int y = 0; y < page.height(); ++y)
                page.setPixel(x, y, x % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
        view.showPage(page);
        QImage shot(page.size(), QImage::Format_RGB32);
        shot.setDevicePixelRatio(ratio);
        view.render(&shot);
        int sharp = 0;
        for (int x = 0; x + 1 < shot.width(); ++x)
            sharp += std::abs(qGray(shot.pixel(x, 50)) - qGray(shot.pixel(x + 1, 50))) > 200;
        EXPECT_GT(sharp, shot.width() * 9 / 10) << ratio;
    }
}

TEST_F(WindowFixture, AStoppedPageSaysWhyInAnErrorBoxInTheInterfaceLanguage)
{
    folder.write("templates/broken.ini",
                 test::ansi("[templateid]\nid=109\n[paper]\nsize=6000,6000\n"
                            "[object1]\nobjtype=fixpicture\npicdim=0,0,100,100\npicname=No such title\n"));
    // Hebrew: no English in the title or the text but the names of the
    // template, the database file and the title, and what went wrong with which.
    const QByteArray database = folder.read("nvdb.db");
    enum class Database { There, Locked, Missing };
    const struct {
        Database database;
        const char* says;
    } hebrewCases[] = {
        {Database::There, "אין במאגר התמונות ‎nvdb.db‎ לוגו או תמונה בשם \"‎No such title‎\". בחרו תבנית אחרת, או תקנו בתבנית"},
        // Held by a program in the middle of a change: nothing to reinstall.
        {Database::Locked, "תוכנית אחרת משנה כעת את מאגר התמונות ‎nvdb.db‎. המתינו עד שתסיים"},
        {Database::Missing, "מאגר התמונות ‎nvdb.db‎ חסר או פגום"},
    };
    static const QRegularExpression latin(u"[A-Za-z]{2,}"_s);
    for (const auto& c : hebrewCases) {
        if (c.database == Database::Missing)
            QFile::remove(folder.file("nvdb.db"));
        std::optional<nuvela::SqliteDatabase> writer;
        if (c.database == Database::Locked) {
            writer.emplace(folder.file("nvdb.db"), nuvela::SqliteDatabase::Mode::ReadWrite);
            ASSERT_TRUE(writer->exec("BEGIN EXCLUSIVE")) << writer->error().toStdString();
        }
        const qsizetype before = messages().size();
        start();
        choose("broken");
        EXPECT_EQ(window->lastOutcome().end, nuvela::PageEnd::Stopped);
        ASSERT_EQ(messages().size(), before + 1);
        EXPECT_TRUE(dialogs.requests().back().error);
        const QString hebrew = messages().back();
        EXPECT_TRUE(hebrew.startsWith(u"שגיאה|")) << hebrew.toStdString();
        EXPECT_TRUE(hebrew.contains(QString::fromUtf8(c.says))) << hebrew.toStdString();
        EXPECT_FALSE(QString(hebrew).remove(u"broken"_s).remove(u"nvdb.db"_s).remove(u"No such title"_s).contains(latin))
            << hebrew.toStdString();
    }
    folder.write("nvdb.db", database);
    // English keeps the engine's account of what is missing.
    startIn(u"english"_s);
    choose("broken");
    EXPECT_EQ(messages().back(), "Error|The page of the template \"broken\" could not be drawn: The picture titled "
                                 "\"No such title\" is not in the image database nvdb.db (table fixpic)\n"
                                 "Choose another template, or correct the name of the picture in the template.");
}

TEST_F(WindowFixture, AFileSavedAsUtf8IsNamedOnceAndLeftAsItIs)
{
    const QByteArray store = folder.read("templates/textdata.txt"), birthday = folder.read("templates/birthday.ini");
    const struct {
        const char* file; // turned into UTF-8; nullptr: files as shipped
        const char* language;
        const char* says;
    } cases[] = {
        {nullptr, "hebrew", nullptr},
        {"templates/textdata.txt", "hebrew", "שמור בקידוד UTF-8"},
        {"templates/birthday.ini", "english", "is saved as UTF-8, so its Hebrew shows garbled"},
        {"templates/birthday.ini", "nederlands", "is opgeslagen als UTF-8"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language);
        folder.write("templates/birthday.ini", birthday);
        folder.write("templates/textdata.txt", store);
        if (QString::fromLatin1(c.language) != u"hebrew")
            startIn(QString::fromLatin1(c.language));
        QByteArray utf8;
        if (c.file) {
            utf8 = nuvela::decodeAnsi(folder.read(QString::fromLatin1(c.file))).toUtf8();
            folder.write(QString::fromLatin1(c.file), utf8);
        }
        const qsizetype before = messages().size();
        start();
        for (const char* name : {"birthday", "wedding", "birthday"})
            choose(QString::fromLatin1(name));
        const QStringList told = messages().mid(before).filter(QRegularExpression(u"^(שים לב|Attention|Let op)\\|"_s));
        if (!c.says) {
            EXPECT_TRUE(told.isEmpty()) << told.join(u'\n').toStdString();
            continue;
        }
        ASSERT_EQ(told.size(), 1) << told.join(u'\n').toStdString();
        EXPECT_TRUE(told[0].contains(QString::fromUtf8(c.says))) << told[0].toStdString();
        EXPECT_TRUE(told[0].contains(QFileInfo(QString::fromLatin1(c.file)).fileName()));
        EXPECT_EQ(folder.read(QString::fromLatin1(c.file)), utf8);
    }
}

// A template that cannot be opened: the Hebrew message names the file at
// fault and says what is wrong with it; nothing is written.
TEST_F(WindowFixture, ATemplateThatCannotBeOpenedNamesTheFileAndWhy)
{
    const QByteArray store = folder.read("templates/textdata.txt"), birthday = folder.read("templates/birthday.ini");
    QByteArray utf16("\xFF\xFE", 2);
    for (const char c : store)
        utf16 += QByteArray(1, c) + QByteArray(1, '\0');
    const struct {
        const char* file;
        QByteArray bytes; // empty: a folder; "/dev/zero": a link to it
        const char* says;
    } cases[] = {
        {"templates/textdata.txt", {}, "templates/textdata.txt‎ אינו קובץ רגיל אלא תיקייה"},
        {"templates/textdata.txt", utf16, "templates/textdata.txt‎ אינו קובץ טקסט שהתוכנית יכולה לקרוא"},
        {"templates/birthday.ini", "/dev/zero", ": הנתיב ‎"},
        {"templates/birthday.ini", QByteArray("\r").repeated(nuvela::IniDocument::kMaxLines + 1),
         "גדול מדי, או שמור בקידוד UTF-16"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.says);
        const QString path = folder.file(QString::fromLatin1(c.file));
        QFile::remove(path);
        if (c.bytes.isEmpty())
            ASSERT_TRUE(QDir().mkpath(path));
        else if (c.bytes == "/dev/zero")
            ASSERT_TRUE(QFile::link(u"/dev/zero"_s, path));
        else
            folder.write(QString::fromLatin1(c.file), c.bytes);
        const qsizetype before = messages().size();
        start();
        // Another template on the page first: nothing may act on it afterwards.
        if (QString::fromLatin1(c.file).endsWith(u".ini"))
            choose("wedding");
        choose("birthday");
        ASSERT_EQ(messages().size(), before + 1);
        const QString told = messages().back();
        EXPECT_TRUE(told.startsWith(u"שגיאה|לא ניתן לפתוח את התבנית \"birthday\": ")) << told.toStdString();
        EXPECT_TRUE(told.contains(QString::fromUtf8(c.says))) << told.toStdString();
        EXPECT_TRUE(program->state.tavnit.isEmpty());
        for (const char* name : {"Frview", "deltext", "savetxt", "showme"}) {
            const auto* w = window->findChild<QWidget*>(name);
            EXPECT_FALSE(w->isVisibleTo(window.get()) && w->isEnabled()) << name;
        }
        window.reset();
        if (c.bytes.size() > 1 && c.bytes != "/dev/zero") {
            EXPECT_EQ(folder.read(QString::fromLatin1(c.file)), c.bytes);
        }
        QDir(path).removeRecursively();
        QFile::remove(path);
        folder.write("templates/textdata.txt", store);
        folder.write("templates/birthday.ini", birthday);
    }
}

TEST_F(WindowFixture, WebPaneButtonsAndGoingHome)
{
    start();
    QList<QUrl> opened;
    bool browserStarts = true;
    window->web()->setExternalOpener([&](const QUrl& url) {
        opened << url;
        return browserStarts;
    });
    auto nav = [&](int i) { return static_cast<QWidget*>(nuvela::findArrayElement(window.get(), u"nav", i)); };
    auto* showme = window->findChild<nuvela::ButtonPlus*>("showme");
    const QString startCaption = window->titlePanel()->caption();
    // Back and forward only with somewhere to go.
    EXPECT_FALSE(nav(1)->isEnabled());
    EXPECT_FALSE(nav(2)->isEnabled());
    choose("birthday");
    EXPECT_TRUE(showme->isEnabled());
    // Help is a page of our own, in the pane.
    QTest::mouseClick(nav(3), Qt::LeftButton);
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_TRUE(window->web()->source().toString().endsWith(u"/help.html"));
    EXPECT_TRUE(window->web()->toPlainText().contains(u"גירסאות"));
    EXPECT_TRUE(nav(1)->isEnabled());
    EXPECT_FALSE(nav(2)->isEnabled());
    QTest::mouseClick(nav(1), Qt::LeftButton);
    EXPECT_TRUE(window->web()->source().toString().endsWith(u"/preload.html"));
    QTest::mouseClick(nav(2), Qt::LeftButton);
    EXPECT_TRUE(window->web()->source().toString().endsWith(u"/help.html"));
    // Every web action returns to web mode and forgets the template.
    EXPECT_EQ(window->gallery()->currentRow(), -1);
    EXPECT_FALSE(window->pageView()->isVisibleTo(window.get()));
    EXPECT_EQ(window->titlePanel()->caption(), startCaption);
    EXPECT_FALSE(showme->isEnabled());

    // Without the page the web site opens; a browser that cannot start is told.
    QFile::remove(folder.file("help.html"));
    browserStarts = false;
    QTest::mouseClick(nav(3), Qt::LeftButton);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened.first(), QUrl("https://www.nuvela.example/helpdesk.html"));
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages().first().contains(u"https://www.nuvela.example/helpdesk.html"));
}

// The fonts of the program folder (any letter case of the extension, no
// broken file) are added once and removed at exit, exactly they.
TEST_F(WindowFixture, FolderFontsAreAddedOnceAndRemovedExactlyAtExit)
{
    const QString fonts = u"/usr/share/fonts/truetype/liberation2/"_s;
    ASSERT_TRUE(QFile::copy(fonts + u"LiberationSerif-Italic.ttf"_s, folder.file("extra.ttf")));
    ASSERT_TRUE(QFile::copy(fonts + u"LiberationSans-Regular.ttf"_s, folder.file("HEADLINE.TTF")));
    folder.write("broken.ttf", "not a font");
    folder.write("readme.txt", "text");
    start();
    window->output(); // loading the output window adds them
    window->output();
    const QList<int> ids = program->fonts.ids();
    ASSERT_EQ(ids.size(), 2);
    EXPECT_TRUE(program->fonts.families().contains(u"Liberation Sans"_s));
    const int other = QFontDatabase::addApplicationFont(fonts + u"LiberationMono-Bold.ttf"_s);
    ASSERT_GE(other, 0);
    window->close(); // the shutdown routine
    QFontDatabase::families(); // the database fills its lists again after a removal
    for (int id : ids)
        EXPECT_TRUE(QFontDatabase::applicationFontFamilies(id).isEmpty());
    EXPECT_FALSE(QFontDatabase::applicationFontFamilies(other).isEmpty());
    EXPECT_EQ(quits, 1);
    program->shutdown(); // once only
    EXPECT_EQ(quits, 1);
    QFontDatabase::families();
    EXPECT_FALSE(QFontDatabase::applicationFontFamilies(other).isEmpty());
    QFontDatabase::removeApplicationFont(other);
}

} // namespace
