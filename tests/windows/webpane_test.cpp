#include "support/testdirs.h"
#include "windows/common/webpane.h"

#include <QAbstractTextDocumentLayout>
#include <QTextLayout>
#include <QTextBlock>

#include <gtest/gtest.h>

using namespace nuvela;

namespace {

// Records whether the pane reported itself busy while a page was loading.
class ObservedPane : public WebPane {
public:
    using WebPane::WebPane;
    QList<bool> busyDuringLoads;

protected:
    QVariant loadResource(int type, const QUrl& name) override
    {
        busyDuringLoads.append(isBusy());
        return WebPane::loadResource(type, name);
    }
};

TEST(WebPane, HistoryLocalPagesAndWebAddresses)
{
    test::ProgramFolder folder(test::ProgramFolder::Start::Empty);
    folder.write("a.html", "<p>A</p><a href=\"b.html\">next</a> <a href=\"https://example.org/x\">web</a>");
    folder.write("b.html", "<p>B</p>");
    const QUrl a = QUrl::fromLocalFile(folder.file("a.html")), b = QUrl::fromLocalFile(folder.file("b.html"));
    ObservedPane pane;
    QList<QUrl> opened;
    QList<bool> busySignals;
    pane.setExternalOpener([&](const QUrl& url) {
        opened.append(url);
        return true;
    });
    QObject::connect(&pane, &WebPane::busyChanged, [&](bool busy) { busySignals.append(busy); });

    ASSERT_TRUE(pane.navigate(folder.file("a.html")));
    ASSERT_FALSE(pane.busyDuringLoads.isEmpty());
    EXPECT_FALSE(pane.busyDuringLoads.contains(false)) << "busy while the page loads";
    ASSERT_TRUE(pane.navigate(folder.file("b.html")));
    EXPECT_FALSE(pane.isBusy());
    EXPECT_EQ(busySignals, (QList<bool>{true, false, true, false}));

    // Web addresses open in the user's browser; the pane and its history
    // stay (going back and forth: the main window's buttons).
    pane.backward();
    EXPECT_TRUE(pane.navigate(QStringLiteral("https://example.org/helpdesk.html")));
    pane.setSource(QUrl(QStringLiteral("http://example.org/?FAQ"))); // a clicked link
    EXPECT_EQ(opened, (QList<QUrl>{QUrl("https://example.org/helpdesk.html"), QUrl("http://example.org/?FAQ")}));
    EXPECT_EQ(pane.source(), a);
    // A missing page says so and keeps the history.
    EXPECT_FALSE(pane.navigate(folder.file("gone.html")));
    EXPECT_TRUE(pane.toPlainText().contains(u"Page not found"));
    EXPECT_TRUE(pane.toPlainText().contains(u"gone.html"));
    EXPECT_EQ(pane.history(), (QList<QUrl>{a, b}));
    EXPECT_EQ(opened.size(), 2);
}

// The left edge of the first block whose text starts with prefix.
qreal blockLeft(WebPane& pane, const QString& prefix)
{
    for (QTextBlock b = pane.document()->begin(); b != pane.document()->end(); b = b.next()) {
        if (b.text().startsWith(prefix))
            return pane.document()->documentLayout()->blockBoundingRect(b).left()
                + b.layout()->lineAt(0).naturalTextRect().left();
    }
    return -1;
}

// The shipped pages read in their language's direction: in Hebrew the step
// numbers stand at the right of their texts, in English at the left.
TEST(WebPane, PagesReadInTheirLanguagesDirection)
{
    // text: the first step's text
    struct Case { const char* page; const char16_t* text; bool numberAtRight; };
    for (const Case& c : {Case{"preload.html", u"בחרו", true}, Case{"preload-english.html", u"Choose", false},
                          Case{"help.html", u"בחירת", true}, Case{"help-english.html", u"Choosing", false},
                          Case{"preload-nederlands.html", u"Kies", false}}) {
        WebPane pane;
        pane.resize(600, 500);
        ASSERT_TRUE(pane.navigate(test::sourceDataDir() + u'/' + QLatin1String(c.page))) << c.page;
        pane.document()->setTextWidth(580);
        const qreal number = blockLeft(pane, QStringLiteral("1"));
        const qreal text = blockLeft(pane, QString::fromUtf16(c.text));
        ASSERT_GE(number, 0) << c.page;
        ASSERT_GE(text, 0) << c.page;
        EXPECT_EQ(number > text, c.numberAtRight) << c.page << " " << number << " " << text;
        int blocks = 0; // and every paragraph of the page reads the same way
        for (QTextBlock block = pane.document()->begin(); block.isValid(); block = block.next()) {
            if (block.text().trimmed().isEmpty())
                continue;
            ++blocks;
            EXPECT_EQ(block.blockFormat().layoutDirection(), c.numberAtRight ? Qt::RightToLeft : Qt::LeftToRight)
                << c.page << ": " << block.text().toStdString();
        }
        EXPECT_GE(blocks, 7) << c.page;
    }
}

} // namespace
