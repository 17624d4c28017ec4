#include "store/inifiles.h"
#include "store/pagestate.h"
#include "store/versions.h"
#include "support/testdirs.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <random>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <cstdio>

using namespace nuvela;
using test::ansi;

namespace {

const char* const kStore = "[interface]\nlang=hebrew\n\n"
                           "[tav101girsa1]\ntxt0=ok\ntxt1=one\n\n"
                           "[tav101girsa2]\ntxt0=ok\ntxt1=two\n\n"
                           "[tav1010girsa3]\ntxt0=ok\n\n"
                           "  [TAV101Girsa3] \ntxt0=ok\ntxt1=three\n\n"
                           "[tav102girsa2]\ntxt0=ok\n"
                           "[tav101girsa04]\ntxt0=ok\n"
                           "[tav101girsa4]\ntxt0=ok\ntxt1=four\n";

TEST(Versions, DeleteDropsOneSectionAndRenumbersTheLaterOnes)
{
    struct Case { const char* name; int version; const char* expected; };
    const Case cases[] = {
        {"delete 2 of 4: 3 and 4 move down, other templates and odd headers stay", 2,
         "[interface]\nlang=hebrew\n\n[tav101girsa1]\ntxt0=ok\ntxt1=one\n\n[tav1010girsa3]\ntxt0=ok\n\n"
         "[tav101girsa2]\ntxt0=ok\ntxt1=three\n\n[tav102girsa2]\ntxt0=ok\n[tav101girsa04]\ntxt0=ok\n"
         "[tav101girsa3]\ntxt0=ok\ntxt1=four\n"},
        {"a header in another letter case and with blanks is found", 3,
         "[interface]\nlang=hebrew\n\n[tav101girsa1]\ntxt0=ok\ntxt1=one\n\n[tav101girsa2]\ntxt0=ok\ntxt1=two\n\n"
         "[tav1010girsa3]\ntxt0=ok\n\n[tav102girsa2]\ntxt0=ok\n[tav101girsa04]\ntxt0=ok\n"
         "[tav101girsa3]\ntxt0=ok\ntxt1=four\n"},
        {"a version without a section drops nothing", 9, kStore},
    };
    for (const Case& c : cases)
        EXPECT_EQ(withoutVersion(ansi(kStore), QStringLiteral("101"), c.version), ansi(c.expected)) << c.name;
}

TEST(Versions, VersionsOfAnotherStoreAreAddedOnlyToATemplateWithoutAny)
{
    // Found as the reader finds them: any case, blanks around, no leading zero, the whole identifier.
    const QByteArray from = ansi("[interface]\nlang=hebrew\n  [TAV101Girsa3] \ntxt0=ok\ntxt1=three\n\n"
                                 "[tav1010girsa3]\ntxt0=ok\n[tav101girsa1]\ntxt0=ok\ntxt1=one\n\n"
                                 "[tav102girsa2]\ntxt0=ok\n[tav101girsa04]\ntxt0=ok\n[tav101girsa4]\ntxt1=four\n");
    struct Case { const char* name; const char* store; const char* id; const char* expected; };
    const Case cases[] = {
        {"every version of the template, in the other store's order and form, at the end",
         "[interface]\nlang=english\n", "101",
         "[interface]\nlang=english\n  [TAV101Girsa3] \ntxt0=ok\ntxt1=three\n\n[tav101girsa1]\ntxt0=ok\ntxt1=one\n\n"
         "[tav101girsa4]\ntxt1=four\n"},
        {"a store without a last line end gets one first", "[x]\ny=1", "102", "[x]\ny=1\n[tav102girsa2]\ntxt0=ok\n"},
        {"a template the store keeps a version of keeps its own", "[tav101girsa1]\ntxt1=mine\n", "101",
         "[tav101girsa1]\ntxt1=mine\n"},
        {"a template the other store keeps nothing of", "[x]\n", "105", "[x]\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(withVersionsOf(ansi(c.store), from, QString::fromLatin1(c.id)), ansi(c.expected)) << c.name;
}

TEST(Versions, SaveWritesTheWholeVersionIntoItsSection)
{
    PageState s;
    s.templateId = QStringLiteral("101");
    s.colourEdit = true;
    s.katava = {{1, {}}, {4, {}}};
    s.growLiveTables(4);
    s.liveTexts[1] = QStringLiteral("שורה\r\nשנייה");
    s.liveFormats[1] = QStringLiteral("255,David,18,True,100~0,David,12,False,100");
    s.gpic = {{3, {{}, true, QStringLiteral("x.jpg")}}, {5, {{}, true, QStringLiteral("failed")}},
              {6, {{}, false, QString()}}};
    s.headline.collVisible = true;
    s.headline.collColour = 9848340;

    test::ProgramFolder folder(test::ProgramFolder::Start::Empty);
    folder.write("templates/textdata.txt", ansi("[tav101girsa1]\ntxt0=ok\ntxt1=old\ntxt9=kept\n\n[x]\ny=1\n"));
    IniFiles files;
    const StoreResult r = writeEntries(files, folder.file("templates/textdata.txt"), QStringLiteral("tav101girsa1"),
                                       versionEntries(s));
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    // A cleared text is stored empty rather than keeping the old one.
    EXPECT_EQ(folder.read("templates/textdata.txt"),
              ansi("[tav101girsa1]\ntxt0=ok\ntxt1=שורה~שנייה\ntxt9=kept\n"
                   "col1=255,David,18,True,100~0,David,12,False,100\ntxt4=\npic3=x.jpg\ncotarcolor=9848340\n\n"
                   "[x]\ny=1\n"));

    s.colourEdit = false; // colours stay the template's
    s.headline.collVisible = false;
    s.headline.kotxtTag = QStringLiteral("2"); // the logo shows: no box for its text
    s.liveTexts[2] = QStringLiteral("The Daily");
    QStringList keys;
    for (const auto& e : versionEntries(s))
        keys << e.first + u'=' + e.second;
    EXPECT_EQ(keys, (QStringList{"txt0=ok", "txt1=שורה~שנייה", "txt4=", "txt2=The Daily", "pic3=x.jpg"}));
}

// Runs the helper; kills it after delay unless delay is negative. Returns the
// exit status (-1 when killed).
int runWriter(const char* op, const QString& path, std::chrono::microseconds delay, const char* limit = nullptr)
{
    const QByteArray file = path.toLocal8Bit();
    char* argv[] = {const_cast<char*>(VERSION_WRITER), const_cast<char*>(op), const_cast<char*>(file.data()),
                    const_cast<char*>(limit), nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, VERSION_WRITER, nullptr, nullptr, argv, environ) != 0)
        return -2;
    if (delay.count() >= 0) {
        std::this_thread::sleep_for(delay);
        kill(pid, SIGKILL);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(Versions, AKilledOrStarvedWriterLeavesTheOldOrTheNewStore)
{
    test::ProgramFolder folder;
    const QString path = folder.file("templates/textdata.txt");
    const QByteArray before = folder.read("templates/textdata.txt");
    ASSERT_EQ(runWriter("save", path, std::chrono::microseconds(-1)), 0);
    const QByteArray after = folder.read("templates/textdata.txt");
    ASSERT_NE(after, before);
    QElapsedTimer clock;
    clock.start();
    ASSERT_EQ(runWriter("delete", path, std::chrono::microseconds(-1)), 0);
    const auto oneRun = std::chrono::microseconds(clock.nsecsElapsed() / 1000);
    ASSERT_EQ(folder.read("templates/textdata.txt"), before);

    // 200 saves and 200 deletes, each killed at a random moment between its
    // start and a little after the time a whole run takes.
    std::mt19937 random(13);
    std::uniform_int_distribution<long> at(0, oneRun.count() * 3 / 2);
    int changed = 0;
    for (int i = 0; i < 400; ++i) {
        const bool save = i % 2 == 0;
        const QByteArray& old = save ? before : after;
        folder.write("templates/textdata.txt", old);
        runWriter(save ? "save" : "delete", path, std::chrono::microseconds(at(random)));
        const QByteArray now = folder.read("templates/textdata.txt");
        ASSERT_TRUE(now == before || now == after) << "run " << i << ": " << now.size() << " bytes";
        changed += now != old;
    }
    std::printf("killed writers: %d of 400 had completed, %d left the old store\n", changed, 400 - changed);

    // A disk that fills up mid-write: the store stays as it was.
    folder.write("templates/textdata.txt", before);
    const QByteArray limit = QByteArray::number(before.size() + 100);
    EXPECT_EQ(runWriter("save", path, std::chrono::microseconds(-1), limit.constData()), 1);
    EXPECT_EQ(folder.read("templates/textdata.txt"), before);
}

} // namespace
