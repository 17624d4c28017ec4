#pragma once

#include <QList>
#include <QTextBrowser>
#include <QUrl>

#include <functional>

namespace nuvela {

/// The local start page for an interface language: "preload-<language>.html"
/// of the program folder when it exists (also tried in lower case), else for
/// any language but Hebrew "preload-english.html" when that exists, else the
/// Hebrew "preload.html".
QString startPagePath(const QString& programDir, const QString& language);
/// The local help page, found the same way: "help-<language>.html",
/// "help-english.html", "help.html".
QString helpPagePath(const QString& programDir, const QString& language);
/// The rule of both: stem + "-" + language + ".html", then the English, then
/// the Hebrew page.
QString localPagePath(const QString& programDir, const QString& stem, const QString& language);
/// The start or help page of the program folder in `language` when `shown`
/// is one of them in any language; empty for any other page.
QString samePageInLanguage(const QString& programDir, const QString& shown, const QString& language);

/// The web pane: shows the program's local pages with back and forward
/// history. Web addresses (http, https, mailto), whether navigated to or
/// clicked as links, go to the user's browser through the external opener
/// and never enter the pane or its history.
class WebPane : public QTextBrowser {
    Q_OBJECT

public:
    /// Opens a web address outside the pane; returns whether it could.
    using ExternalOpener = std::function<bool(const QUrl&)>;

    explicit WebPane(QWidget* parent = nullptr);

    /// QDesktopServices::openUrl unless replaced (tests replace it).
    void setExternalOpener(ExternalOpener opener);

    /// A local file path or an address. A missing local file shows a short
    /// notice in the pane and returns false; an address is handed to the
    /// external opener and returns what it returns.
    bool navigate(const QString& target);

    /// True while a page is being loaded.
    bool isBusy() const { return busy_; }

    /// The pages of the history, oldest first, and the position of the
    /// current one in that list (-1 when nothing was shown yet).
    QList<QUrl> history() const;
    int historyPosition() const { return backwardHistoryCount(); }

    static bool isWebAddress(const QUrl& url);

public slots:
    void backward() override;
    void forward() override;
    void home() override;
    void reload() override;

signals:
    void busyChanged(bool busy);
    /// An address was handed to the user's browser.
    void openedExternally(const QUrl& url);

protected:
    void doSetSource(const QUrl& name, QTextDocument::ResourceType type) override;

private:
    class BusyScope;
    void showMissing(const QString& path);

    ExternalOpener opener_;
    bool busy_ = false;
};

} // namespace nuvela
