#include "windows/common/dialogs.h"

#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>

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

TEST(ScriptedDialogs, AnswersInOrderAndRecordsRequests)
{
    ScriptedDialogs dialogs;
    dialogs.answerSave(QStringLiteral("/tmp/card"), 1);
    dialogs.cancel(ScriptedDialogs::Kind::Save);
    dialogs.answerOpen(QStringLiteral("/pictures/a.jpg"));
    dialogs.answerColour(0x00FF00);

    const auto saved = dialogs.saveFile(nullptr, QStringLiteral("Save"), kSaveFilter,
                                        QStringLiteral("page.jpg"));
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->path, "/tmp/card");
    EXPECT_EQ(saved->filterIndex, 1);
    EXPECT_EQ(saved->extension, "bmp");
    EXPECT_FALSE(dialogs.saveFile(nullptr, {}, kSaveFilter)) << "cancelled";
    EXPECT_EQ(dialogs.openFile(nullptr, {}, u"Images|*.jpg"), "/pictures/a.jpg");
    EXPECT_EQ(dialogs.chooseColour(nullptr, 0xFFFFFF), 0x00FF00u);

    ASSERT_EQ(dialogs.requests().size(), 4u);
    EXPECT_EQ(dialogs.requests()[0].qtFilters.size(), 2);
    EXPECT_EQ(dialogs.requests()[0].suggestion, "page.jpg");
    EXPECT_EQ(dialogs.requests()[3].initialColour, 0xFFFFFFu);
    EXPECT_TRUE(dialogs.allAnswered());
    EXPECT_TRUE(dialogs.unexpected().isEmpty());
}

TEST(ScriptedDialogs, UnplannedDialogsCountAsCancelledAndAreReported)
{
    ScriptedDialogs dialogs;
    dialogs.answerColour(1);
    EXPECT_FALSE(dialogs.openFile(nullptr, {}, u"Images|*.jpg"));
    EXPECT_FALSE(dialogs.saveFile(nullptr, {}, kSaveFilter));
    EXPECT_EQ(dialogs.unexpected().size(), 2);
}

TEST(ScriptedDialogs, QuestionsTakeTheirAnswersAndMessagesAreRecorded)
{
    using Kind = ScriptedDialogs::Kind;
    ScriptedDialogs dialogs;
    dialogs.answerAsk(true);
    dialogs.answerAsk(false);
    dialogs.answerColour(1);
    EXPECT_TRUE(dialogs.ask(nullptr, QStringLiteral("Attention"), QStringLiteral("Save?")));
    dialogs.tell(nullptr, QStringLiteral("Error"), QStringLiteral("No page"));
    EXPECT_FALSE(dialogs.ask(nullptr, QStringLiteral("Delete"), QStringLiteral("Delete?")));
    EXPECT_FALSE(dialogs.ask(nullptr, QStringLiteral("Delete"), QStringLiteral("Again?")))
        << "a question answered by a colour counts as No";
    ASSERT_EQ(dialogs.requests().size(), 4u);
    const Kind kinds[] = { Kind::Ask, Kind::Tell, Kind::Ask, Kind::Ask };
    const char* titles[] = { "Attention", "Error", "Delete", "Delete" };
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(dialogs.requests()[i].kind, kinds[i]) << i;
        EXPECT_EQ(dialogs.requests()[i].title, titles[i]) << i;
    }
    EXPECT_EQ(dialogs.requests()[1].text, "No page");
    EXPECT_EQ(dialogs.unexpected().size(), 1);
}

TEST(ScriptedDialogs, PrintingGoesToTheAnsweredFile)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("page.pdf"));
    ScriptedDialogs dialogs;
    dialogs.answerPrint(pdf);
    dialogs.cancel(ScriptedDialogs::Kind::Print);

    QPrinter printer;
    ASSERT_TRUE(dialogs.print(nullptr, printer));
    {
        QPainter painter(&printer);
        painter.fillRect(QRect(0, 0, 100, 100), Qt::black);
    }
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(4).startsWith("%PDF"));

    QPrinter second;
    EXPECT_FALSE(dialogs.print(nullptr, second));
}

} // namespace
