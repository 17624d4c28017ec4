#include "windows/common/webpane.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>

namespace nuvela {

QString localPagePath(const QString& programDir, const QString& stem, const QString& language)
{
    const QDir dir(programDir);
    const QString lowered = language.toLower();
    if (lowered != u"hebrew" && !language.isEmpty() && !language.contains(u'/')
        && !language.contains(u'\\')) {
        for (const QString& name : { language, lowered }) {
            const QString candidate = dir.filePath(QStringLiteral("%1-%2.html").arg(stem, name));
            if (QFileInfo(candidate).isFile())
                return candidate;
        }
        const QString english = dir.filePath(stem + QStringLiteral("-english.html"));
        if (QFileInfo(english).isFile())
            return english;
    }
    return dir.filePath(stem + QStringLiteral(".html"));
}

QString startPagePath(const QString& programDir, const QString& language)
{
    return localPagePath(programDir, QStringLiteral("preload"), language);
}

QString helpPagePath(const QString& programDir, const QString& language)
{
    return localPagePath(programDir, QStringLiteral("help"), language);
}

QString samePageInLanguage(const QString& programDir, const QString& shown, const QString& language)
{
    const QFileInfo page(shown);
    if (shown.isEmpty() || page.absoluteDir() != QDir(programDir) || page.suffix() != u"html")
        return {};
    const QString name = page.completeBaseName();
    for (const QString& stem : {QStringLiteral("preload"), QStringLiteral("help")}) {
        if (name == stem || name.startsWith(stem + u'-'))
            return localPagePath(programDir, stem, language);
    }
    return {};
}

/// Marks the pane busy for the time of one load, also when loads nest.
class WebPane::BusyScope {
public:
    explicit BusyScope(WebPane& pane)
        : pane_(pane)
        , outer_(pane.busy_)
    {
        if (!outer_) {
            pane_.busy_ = true;
            emit pane_.busyChanged(true);
        }
    }
    ~BusyScope()
    {
        if (!outer_) {
            pane_.busy_ = false;
            emit pane_.busyChanged(false);
        }
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    WebPane& pane_;
    bool outer_;
};

WebPane::WebPane(QWidget* parent)
    : QTextBrowser(parent)
    , opener_([](const QUrl& url) { return QDesktopServices::openUrl(url); })
{
    setOpenLinks(true);
    setOpenExternalLinks(false);
}

void WebPane::setExternalOpener(ExternalOpener opener) { opener_ = std::move(opener); }

bool WebPane::isWebAddress(const QUrl& url)
{
    const QString scheme = url.scheme().toLower();
    return scheme == u"http" || scheme == u"https" || scheme == u"mailto";
}

bool WebPane::navigate(const QString& target)
{
    const QUrl asUrl(target, QUrl::StrictMode);
    if (asUrl.isValid() && isWebAddress(asUrl)) {
        const bool opened = opener_ && opener_(asUrl);
        if (opened)
            emit openedExternally(asUrl);
        return opened;
    }
    const QUrl local = asUrl.isLocalFile() ? asUrl : QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath());
    if (!QFileInfo(local.toLocalFile()).isFile()) {
        showMissing(local.toLocalFile());
        return false;
    }
    setSource(local);
    return true;
}

QList<QUrl> WebPane::history() const
{
    QList<QUrl> pages;
    for (int i = -backwardHistoryCount(); i <= forwardHistoryCount(); ++i) {
        const QUrl url = historyUrl(i);
        if (url.isValid() && !url.isEmpty())
            pages.append(url);
    }
    return pages;
}

void WebPane::doSetSource(const QUrl& name, QTextDocument::ResourceType type)
{
    if (isWebAddress(name)) {
        if (opener_ && opener_(name))
            emit openedExternally(name);
        return;
    }
    BusyScope busy(*this);
    QTextBrowser::doSetSource(name, type);
}

void WebPane::backward()
{
    BusyScope busy(*this);
    QTextBrowser::backward();
}

void WebPane::forward()
{
    BusyScope busy(*this);
    QTextBrowser::forward();
}

void WebPane::home()
{
    BusyScope busy(*this);
    QTextBrowser::home();
}

void WebPane::reload()
{
    BusyScope busy(*this);
    QTextBrowser::reload();
}

void WebPane::showMissing(const QString& path)
{
    // Bilingual on purpose: the pane cannot know which language is missing its page.
    setHtml(QStringLiteral("<p dir=\"rtl\">הדף לא נמצא:</p><p>Page not found:</p><p><tt>%1</tt></p>")
                .arg(path.toHtmlEscaped()));
}

} // namespace nuvela
