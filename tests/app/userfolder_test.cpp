#include "app/userfolder.h"
#include "support/testdirs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using test::writeFile;

TEST(UserFolder, FirstStartCopiesLaterStartsAddWithoutTouchingUserFiles)
{
    QTemporaryDir shipped, user;
    const QString s = shipped.path(), u = user.path() + QStringLiteral("/Nuvela");
    writeFile(s + "/templates/birthday.ini", "b1");
    writeFile(s + "/templates/wedding.ini", "w1");
    writeFile(s + "/templates/textdata.txt", "store1");
    writeFile(s + "/language/english.lng", "en1");
    writeFile(s + "/nvdb.db", "db1");
    writeFile(u + "/nvdb.db", "db1"); // copied by a first start that was killed

    auto first = nuvela::syncUserFolder(s, u);
    ASSERT_TRUE(first.error.isEmpty()) << qPrintable(first.error);
    EXPECT_EQ(first.added.size(), 4);

    // The user works: saves versions, edits a template and a language, drops a template.
    writeFile(u + "/templates/textdata.txt", "[tav101girsa1]\r\ntxt1=mine\r\n");
    writeFile(u + "/templates/birthday.ini", "my birthday");
    writeFile(u + "/language/english.lng", "my english");
    writeFile(u + "/temppic/me.jpg", "me");
    QFile::remove(u + "/templates/wedding.ini");

    // A new release: new templates (their samples in the shipped store) and a
    // new language, everything shipped changed.
    writeFile(s + "/templates/party.ini", "[templateid]\r\nid=105\r\n");
    writeFile(s + "/templates/gala.ini", "[templateid]\r\nid=101\r\n"); // the user has versions of 101
    writeFile(s + "/language/deutsch.lng", "de2");
    for (const char* f : {"/templates/birthday.ini", "/templates/wedding.ini", "/language/english.lng", "/nvdb.db"})
        writeFile(s + f, "v2");
    writeFile(s + "/templates/textdata.txt", "[tav101girsa1]\r\ntxt1=sample\r\n[tav105girsa1]\r\ntxt1=party\r\n");

    auto later = nuvela::syncUserFolder(s, u);
    ASSERT_TRUE(later.error.isEmpty()) << qPrintable(later.error);
    EXPECT_EQ(later.added, (QStringList{"language/deutsch.lng", "templates/gala.ini", "templates/party.ini"}));
    EXPECT_EQ(later.updated, QStringList{"nvdb.db"}); // untouched by the user, however it came
    const QList<std::pair<const char*, QByteArray>> expected = {
        {"/language/deutsch.lng", "de2"},
        {"/nvdb.db", "v2"},
        {"/templates/textdata.txt", "[tav101girsa1]\r\ntxt1=mine\r\n[tav105girsa1]\r\ntxt1=party\r\n"},
        {"/templates/birthday.ini", "my birthday"}, {"/language/english.lng", "my english"},
        {"/temppic/me.jpg", "me"},               {"/templates/wedding.ini", ""},
    };
    for (const auto& [file, bytes] : expected)
        EXPECT_EQ(test::readFile(u + file), bytes) << file;

    // Nothing new: nothing is written.
    const auto again = nuvela::syncUserFolder(s, u);
    EXPECT_TRUE(again.added.isEmpty() && again.updated.isEmpty() && again.error.isEmpty());
}

TEST(UserFolder, ShippedFolderIsFoundOnlyForAnInstalledProgram)
{
    QTemporaryDir root;
    const QString r = root.path();
    writeFile(r + "/portable/templates/a.ini", "a"); // the installed program's: the install test
    EXPECT_EQ(nuvela::shippedProgramFolder(r + "/portable"), QString());
    EXPECT_EQ(nuvela::shippedProgramFolder(r + "/elsewhere"), QString());

    // Unwritable user folder is reported.
    QTemporaryDir shipped;
    writeFile(shipped.path() + "/templates/a.ini", "a");
    const auto sync = nuvela::syncUserFolder(shipped.path(), QStringLiteral("/proc/nuvela-cannot-be-here"));
    EXPECT_FALSE(sync.error.isEmpty());
}

} // namespace
