#include "support/testdirs.h"
#include "windows/common/webpane.h"

#include <QAbstractTextDocumentLayout>
#include <QFileInfo>
#include <QTextLayout>
#include <QTextBlock>
#include <QTextDocument>

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

struct Pages {
    test::ProgramFolder folder { test::ProgramFolder::Start::Empty };
    QUrl a, b;
    Pages()
    {
        folder.write(QStringLiteral("a.html"),
                     "<p>A</p><a href=\"b.html\">next</a> <a href=\"https://example.org/x\">web</a>");
        folder.write(QStringLiteral("b.html"), "<p>B</p>");
        a = QUrl::fromLocalFile(folder.file(QStringLiteral("a.html")));
        b = QUrl::fromLocalFile(folder.file(QStringLiteral("b.html")));
    }
};

struct Fixture {
    Pages pages;
    ObservedPane pane;
    QList<QUrl> opened;
    QList<bool> busySignals;
    Fixture()
    {
        pane.setExternalOpener([this](const QUrl& url) {
            opened.append(url);
            return true;
        });
        QObject::connect(&pane, &WebPane::busyChanged, [this](bool busy) { busySignals.append(busy); });
    }
};

TEST(WebPane, HistoryGoesBackAndForward)
{
    Fixture f;
    ASSERT_TRUE(f.pane.navigate(f.pages.folder.file(QStringLiteral("a.html"))));
    ASSERT_FALSE(f.pane.busyDuringLoads.isEmpty());
    EXPECT_FALSE(f.pane.busyDuringLoads.contains(false)) << "busy while the page loads";
    ASSERT_TRUE(f.pane.navigate(f.pages.folder.file(QStringLiteral("b.html"))));
    EXPECT_EQ(f.pane.history(), (QList<QUrl> { f.pages.a, f.pages.b }));
    EXPECT_EQ(f.pane.historyPosition(), 1);

    f.pane.backward();
    EXPECT_EQ(f.pane.source(), f.pages.a);
    EXPECT_TRUE(f.pane.toPlainText().startsWith(u'A'));
    EXPECT_EQ(f.pane.historyPosition(), 0);
    EXPECT_TRUE(f.pane.isForwardAvailable());

    f.pane.forward();
    EXPECT_EQ(f.pane.source(), f.pages.b);
    EXPECT_FALSE(f.pane.isBusy());
    EXPECT_EQ(f.busySignals, (QList<bool> { true, false, true, false, true, false, true, false }));
}

TEST(WebPane, WebAddressesOpenInTheUsersBrowser)
{
    Fixture f;
    ASSERT_TRUE(f.pane.navigate(f.pages.folder.file(QStringLiteral("a.html"))));
    EXPECT_TRUE(f.pane.navigate(QStringLiteral("https://example.org/helpdesk.html")));
    f.pane.setSource(QUrl(QStringLiteral("http://example.org/?FAQ"))); // a clicked link
    EXPECT_EQ(f.opened, (QList<QUrl> { QUrl(QStringLiteral("https://example.org/helpdesk.html")),
                                      QUrl(QStringLiteral("http://example.org/?FAQ")) }));
    EXPECT_EQ(f.pane.source(), f.pages.a);
    EXPECT_EQ(f.pane.history(), QList<QUrl> { f.pages.a });
}

TEST(WebPane, MissingPageSaysSoAndKeepsTheHistory)
{
    Fixture f;
    ASSERT_TRUE(f.pane.navigate(f.pages.folder.file(QStringLiteral("a.html"))));
    EXPECT_FALSE(f.pane.navigate(f.pages.folder.file(QStringLiteral("gone.html"))));
    EXPECT_TRUE(f.pane.toPlainText().contains(u"Page not found"));
    EXPECT_TRUE(f.pane.toPlainText().contains(u"gone.html"));
    EXPECT_EQ(f.pane.history(), QList<QUrl> { f.pages.a });
    EXPECT_TRUE(f.opened.isEmpty());
}

TEST(WebPane, StartPageFollowsTheLanguage)
{
    test::ProgramFolder folder(test::ProgramFolder::Start::Empty);
    folder.write(QStringLiteral("preload.html"), "he");
    folder.write(QStringLiteral("preload-english.html"), "en");
    folder.write(QStringLiteral("preload-nederlands.html"), "nl");
    const std::pair<const char*, const char*> cases[] = {
        { "hebrew", "preload.html" },
        { "Hebrew", "preload.html" },
        { "english", "preload-english.html" },
        { "English", "preload-english.html" },
        { "nederlands", "preload-nederlands.html" },
        { "francais", "preload-english.html" },
        { "../templates/x", "preload.html" },
    };
    for (const auto& [language, page] : cases)
        EXPECT_EQ(QFileInfo(startPagePath(folder.path(), QString::fromLatin1(language))).fileName(),
                  QString::fromLatin1(page))
            << language;
}

} // namespace

namespace {

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
    struct Case {
        const char* page;
        const char16_t* text; // the first step's text
        bool numberAtRight;
    };
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
