#include "windows/common/dialogs.h"

#include <gtest/gtest.h>

using namespace nuvela;

namespace {

const QString kSaveFilter = QStringLiteral(
    "JPEG File Interchange Format (*.jpg;*.jpeg)|*.jpg;*.jpeg|Bitmap Image (*.bmp)|*.bmp");

TEST(FileFilters, OldFormBecomesQtFilters)
{
    struct Case {
        QString oldForm;
        QStringList qt;
        QStringList extensions;
    };
    const Case cases[] = {
        { kSaveFilter,
          { "JPEG File Interchange Format (*.jpg *.jpeg)", "Bitmap Image (*.bmp)" },
          { "jpg", "bmp" } },
        { "All supported Images|*.gif;*.jpg;*.jpeg;*.bmp",
          { "All supported Images (*.gif *.jpg *.jpeg *.bmp)" }, { "gif" } },
        { "Everything|*.*", { "Everything (*.*)" }, { "" } },
        { "Pictures|*.png|Dangling description", { "Pictures (*.png)" }, { "png" } },
        { "|*.txt", { "*.txt (*.txt)" }, { "txt" } },
        { "No patterns|", {}, {} },
        { "", {}, {} },
    };
    for (const Case& c : cases) {
        const auto filters = parseFileFilter(c.oldForm);
        EXPECT_EQ(qtFileFilters(filters), c.qt) << c.oldForm.toStdString();
        QStringList extensions;
        for (const FileFilter& filter : filters)
            extensions.append(filter.extension());
        EXPECT_EQ(extensions, c.extensions) << c.oldForm.toStdString();
    }
}

// Window tests lean on the scripted answers: each kind takes its own answers
// in order, anything unplanned counts as cancelled (a question as No) and is
// reported. Printing to the answered file is driven by the output window test.
TEST(ScriptedDialogs, AnswersInOrderAndReportsWhatWasNotPlanned)
{
    using Kind = ScriptedDialogs::Kind;
    ScriptedDialogs dialogs;
    dialogs.answerSave(QStringLiteral("/tmp/card"), 1);
    dialogs.cancel(Kind::Save);
    dialogs.answerOpen(QStringLiteral("/pictures/a.jpg"));
    dialogs.answerColour(0x00FF00);
    dialogs.answerAsk(true);
    dialogs.answerColour(1);

    const auto saved = dialogs.saveFile(nullptr, QStringLiteral("Save"), kSaveFilter, QStringLiteral("page.jpg"));
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->path, "/tmp/card");
    EXPECT_EQ(saved->filterIndex, 1);
    EXPECT_EQ(saved->extension, "bmp");
    EXPECT_FALSE(dialogs.saveFile(nullptr, {}, kSaveFilter)) << "cancelled";
    EXPECT_EQ(dialogs.openFile(nullptr, {}, u"Images|*.jpg"), "/pictures/a.jpg");
    EXPECT_EQ(dialogs.chooseColour(nullptr, 0xFFFFFF), 0x00FF00u);
    EXPECT_TRUE(dialogs.ask(nullptr, QStringLiteral("Attention"), QStringLiteral("Save?")));
    dialogs.tell(nullptr, QStringLiteral("Error"), QStringLiteral("No page"));
    EXPECT_FALSE(dialogs.ask(nullptr, QStringLiteral("Delete"), QStringLiteral("Again?")))
        << "a question answered by a colour counts as No";
    EXPECT_FALSE(dialogs.openFile(nullptr, {}, u"Images|*.jpg")) << "nothing planned";
    EXPECT_TRUE(dialogs.allAnswered());
    EXPECT_EQ(dialogs.unexpected().size(), 2);

    const auto& r = dialogs.requests();
    ASSERT_EQ(r.size(), 8u);
    EXPECT_EQ(r[0].qtFilters.size(), 2);
    EXPECT_EQ(r[0].suggestion, "page.jpg");
    EXPECT_EQ(r[3].initialColour, 0xFFFFFFu);
    EXPECT_EQ(r[4].kind, Kind::Ask);
    EXPECT_EQ(r[5].kind, Kind::Tell);
    EXPECT_EQ(r[5].title + u'|' + r[5].text, "Error|No page");
    EXPECT_EQ(r[6].title, "Delete");
}

} // namespace
