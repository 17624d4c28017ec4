#include "editordriver.h"
#include "windowfixture.h"

#include "store/recovery.h"
#include "windows/common/buttonplus.h"
#include "windows/main/pagehistory.h"
#include "windows/main/pageview.h"

#include <QFile>

using nuvela::RecoveryState;

namespace {

RecoveryState sample(const QString& text, const QString& format, const QString& tag)
{
    RecoveryState r;
    r.programDir = QStringLiteral("/tmp/תיקייה, שלי");
    r.saved = QDateTime(QDate(2024, 5, 1), QTime(13, 45, 7, 250), Qt::UTC);
    r.tavnit = QStringLiteral("חתונה");
    r.version = 3;
    r.modified = QStringLiteral("3");
    r.logoText = true;
    r.headlineColour = 0xFFFFFFFF;
    r.texts = {QString(), text, QString(), QString()}; // trailing empty entries count too
    r.formats = {format};
    r.pictureTags = {{6, tag}, {9, QStringLiteral("nopic")}};
    return r;
}

TEST(RecoveryFile, RoundTripsByteForByteAndRefusesDamage)
{
    const struct { const char* name; QString text, format, tag; } kept[] = {
        {"hebrew with points", QStringLiteral("שָׁלוֹם עֲלֵיכֶם~בְּרָכָה"), QStringLiteral("1,דוד,12~"), QStringLiteral("תְּמוּנָה.jpg")},
        {"separators", QStringLiteral("a,b;c~d\\e\\\\f=g"), QStringLiteral("1,Arial,12;~,,"), QStringLiteral("C:\\pics\\a,b;c~.jpg")},
        {"line breaks and escape look-alikes", QStringLiteral("one\r\ntwo\nthree\\n\\"), QStringLiteral("\\r"), QStringLiteral("\\")},
        {"empty", QString(), QString(), QString()},
    };
    QTemporaryDir dir;
    for (const auto& c : kept) {
        const RecoveryState r = sample(c.text, c.format, c.tag);
        const QByteArray bytes = nuvela::serialiseRecovery(r);
        QString error;
        const auto back = nuvela::parseRecovery(bytes, &error);
        ASSERT_TRUE(back) << c.name << ": " << error.toStdString();
        EXPECT_EQ(*back, r) << c.name;
        EXPECT_EQ(nuvela::serialiseRecovery(*back), bytes) << c.name;
        const QString path = dir.filePath(QStringLiteral("sub/r.recovery"));
        ASSERT_TRUE(nuvela::writeRecovery(path, bytes).ok());
        EXPECT_EQ(nuvela::readRecovery(path, &error), r) << c.name;
        EXPECT_FALSE(QFile(path).permissions().testAnyFlags(QFile::ReadOther | QFile::ReadGroup));
    }

    const QByteArray good = nuvela::serialiseRecovery(sample(QStringLiteral("x"), {}, {}));
    auto replaced = [&](const char* from, const char* to) { return QByteArray(good).replace(from, to); };
    const struct { const char* name; QByteArray bytes; } damaged[] = {
        {"empty", {}},
        {"another format version", replaced("nuvela-recovery 1", "nuvela-recovery 2")},
        {"cut off", good.left(good.size() - 6)},
        {"no end line", replaced("end\n", "")},
        {"unknown escape", replaced("text1=x", "text1=\\q")},
        {"missing template", replaced("tavnit=", "other=")},
        {"text beyond the table", replaced("text1=x", "text9=x")},
        {"version not a number", replaced("version=3", "version=three")},
        {"binary", QByteArray("\x89PNG\r\n\x1a\n\0\0", 10)},
    };
    for (const auto& c : damaged) {
        QString error;
        EXPECT_FALSE(nuvela::parseRecovery(c.bytes, &error)) << c.name;
        EXPECT_FALSE(error.isEmpty()) << c.name;
    }
}

class Recovery : public test::WindowFixture {
protected:
    QString file() const { return nuvela::recoveryPath(folder.path()); }
    bool kept() const { return QFile::exists(file()); }
    /// Two steps, whatever an earlier round stored: a colour the page
    /// already has is no step.
    void edit()
    {
        choose(QStringLiteral("birthday-daily"));
        for (const std::uint32_t colour : {0x111111u, 0x348812u}) {
            dialogs.answerColour(colour);
            window->chooseHeadlineColour();
        }
        ASSERT_TRUE(program->state.isModified());
    }
};

TEST_F(Recovery, KeptAfterEveryStepGoneWhenSavedOrDiscarded)
{
    const struct { const char* name; std::function<void()> end; } ends[] = {
        {"updated", [this] { window->updateVersion(); }},
        {"discarded for another template", [this] { dialogs.answerAsk(false); choose("wedding"); }},
        {"discarded at exit", [this] { dialogs.answerAsk(false); program->shutdown(); }},
    };
    for (const auto& c : ends) {
        start();
        EXPECT_FALSE(kept()) << c.name;
        edit();
        ASSERT_TRUE(kept()) << c.name;
        EXPECT_EQ(nuvela::readRecovery(file(), nullptr)->headlineColour, 0x348812u) << c.name;
        c.end();
        EXPECT_FALSE(kept()) << c.name;
    }
    start();
    edit();
    window->undo();
    window->undo();
    EXPECT_FALSE(kept()); // undone to what is stored
    window->redo();
    EXPECT_TRUE(kept());
}

// A second Nuvela on the same folder neither offers the first one's live
// edits as a crash's nor touches its file; it says once that its own edits
// are not kept.
TEST_F(Recovery, ASecondProgramOnTheFolderLeavesTheFirstOnesFileAlone)
{
    start();
    edit();
    const QByteArray first = test::readFile(file());
    ASSERT_FALSE(first.isEmpty());
    nuvela::Program other(folder.path(), dialogs, QStringLiteral("Nuvela"));
    auto second = std::make_unique<nuvela::ArticleWindow>(other, QSize(800, 600));
    second->offerRecovery();
    EXPECT_TRUE(questions().isEmpty());
    const auto items = second->gallery()->findItems(QStringLiteral("wedding"), Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1);
    second->gallery()->setCurrentItem(items.first());
    dialogs.answerColour(0x111111);
    second->chooseHeadlineColour();
    dialogs.answerColour(0x222222);
    second->chooseHeadlineColour();
    EXPECT_EQ(messages().size(), 1); // told once
    dialogs.answerAsk(false);
    other.shutdown();
    second.reset();
    EXPECT_EQ(test::readFile(file()), first);
}

// A state folder that cannot be made (a file in its place) is named as the
// reason, not taken for another Nuvela holding the file.
TEST_F(Recovery, AStateFolderThatCannotBeMadeIsSaidAsSuch)
{
    const QByteArray state = qgetenv("XDG_STATE_HOME");
    test::writeFile(folder.file("state"), "a file, not a folder");
    qputenv("XDG_STATE_HOME", folder.file("state").toLocal8Bit());
    start();
    edit();
    qputenv("XDG_STATE_HOME", state);
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages().first().contains(u"לא ניתן לשמור עותק גיבוי")) << messages().first().toStdString();
    EXPECT_TRUE(messages().first().contains(folder.file("state/nuvela/recovery")));
}

TEST_F(Recovery, RestartOffersTheUnsavedPage)
{
    for (const bool yes : {true, false}) {
        start();
        edit();
        test::typeInTextEditor(*window, test::firstTextObject(program->state), QStringLiteral("שָׁלוֹם, עוֹלָם"));
        const auto texts = program->state.liveTexts;
        ASSERT_TRUE(kept());
        start();
        ASSERT_TRUE(kept()); // the window gone without its exit: as after a crash
        dialogs.answerAsk(yes);
        window->offerRecovery();
        ASSERT_EQ(questions().size(), yes ? 1 : 2);
        EXPECT_EQ(dialogs.requests().back().ask, nuvela::Ask::NoDiscardsWork) << "Esc must not discard";
        EXPECT_TRUE(questions().last().contains(u"\"birthday-daily\", גירסה 1"));
        EXPECT_TRUE(questions().last().contains(QDate::currentDate().toString(Qt::ISODate)));
        EXPECT_EQ(program->state.isModified(), yes);
        EXPECT_EQ(kept(), yes);
        if (!yes)
            continue;
        EXPECT_EQ(program->state.liveTexts, texts);
        EXPECT_EQ(window->updateButton()->borderStyle(), nuvela::ButtonBorder::Emphasised);
        dialogs.answerColour(0x123456);
        window->chooseHeadlineColour();
        window->undo(); // nothing undoes to a saved state
        EXPECT_TRUE(program->state.isModified());
    }
}

TEST_F(Recovery, UnreadableFileIsSetAsideWithAMessage)
{
    auto naming = [](const char* tavnit, int version) {
        RecoveryState r = sample({}, {}, {});
        r.tavnit = QString::fromUtf8(tavnit);
        r.version = version;
        return nuvela::serialiseRecovery(r);
    };
    const struct { const char* name; QByteArray bytes; const char* reason; bool asked; } cases[] = {
        {"damaged", "nuvela-recovery 1\nversion=", "פגום", false},
        {"template gone", naming("gone", 1), "\"gone\" אינה קיימת", false},
        {"version gone", naming("wedding", 7), "גירסה 7", true}, // known once the template is open
    };
    for (const auto& c : cases) {
        start();
        QFile::remove(file() + QStringLiteral(".damaged"));
        test::writeFile(file(), c.bytes);
        if (c.asked)
            dialogs.answerAsk(true);
        window->offerRecovery();
        EXPECT_EQ(questions().size(), c.asked ? 1 : 0) << c.name;
        ASSERT_EQ(messages().size(), 1) << c.name;
        EXPECT_TRUE(messages().first().contains(QString::fromUtf8(c.reason))) << messages().first().toStdString();
        EXPECT_TRUE(messages().first().contains(u".damaged"));
        EXPECT_FALSE(kept()) << c.name;
        EXPECT_EQ(test::readFile(file() + QStringLiteral(".damaged")), c.bytes) << c.name;
        EXPECT_FALSE(program->state.isModified());
        dialogs = {};
    }
}

} // namespace
