#include "support/testdirs.h"
#include "windows/common/programfonts.h"

#include <QFile>
#include <QFontDatabase>

#include <gtest/gtest.h>

using namespace nuvela;

namespace {

const QString kFonts = QStringLiteral("/usr/share/fonts/truetype/liberation2/");

// A program folder with two fonts (one with an upper-case extension), a
// broken font file and a file that is no font at all.
struct Folder {
    test::ProgramFolder folder { test::ProgramFolder::Start::Empty };
    Folder()
    {
        QFile::copy(kFonts + QStringLiteral("LiberationSans-Regular.ttf"),
                    folder.file(QStringLiteral("newsprint.ttf")));
        QFile::copy(kFonts + QStringLiteral("LiberationSerif-Bold.ttf"),
                    folder.file(QStringLiteral("HEADLINE.TTF")));
        folder.write(QStringLiteral("broken.ttf"), "not a font");
        folder.write(QStringLiteral("readme.txt"), "text");
    }
};

bool registered(int id)
{
    // Removing a font empties the database until it is next filled.
    QFontDatabase::families();
    return !QFontDatabase::applicationFontFamilies(id).isEmpty();
}

TEST(ProgramFonts, AddsTheFolderFontsAndRemovesExactlyThoseOnce)
{
    if (!QFile::exists(kFonts + QStringLiteral("LiberationSans-Regular.ttf")))
        GTEST_SKIP() << "fonts-liberation2 is not installed";
    Folder f;
    // A font that the program added by other means stays.
    const int other = QFontDatabase::addApplicationFont(kFonts + QStringLiteral("LiberationMono-Regular.ttf"));
    ASSERT_GE(other, 0);

    ProgramFonts fonts;
    EXPECT_EQ(fonts.addFrom(QStringLiteral("/nonexistent/program")), 0);
    EXPECT_EQ(fonts.addFrom(f.folder.path()), 2);
    EXPECT_EQ(fonts.addFrom(f.folder.path()), 0) << "a second load adds nothing";
    const QList<int> ids = fonts.ids();
    ASSERT_EQ(ids.size(), 2);
    for (int id : ids)
        EXPECT_TRUE(registered(id));
    EXPECT_TRUE(fonts.families().contains(QStringLiteral("Liberation Serif")));

    fonts.removeAll();
    for (int id : ids)
        EXPECT_FALSE(registered(id));
    EXPECT_TRUE(registered(other));
    fonts.removeAll(); // the shutdown routine may run into it again
    EXPECT_TRUE(registered(other));
    EXPECT_TRUE(fonts.isEmpty());
    QFontDatabase::removeApplicationFont(other);

    // Gone with the object too.
    QList<int> gone;
    {
        ProgramFonts more;
        more.addFrom(f.folder.path());
        gone = more.ids();
    }
    ASSERT_FALSE(gone.isEmpty());
    for (int id : gone)
        EXPECT_FALSE(registered(id));
}

} // namespace
