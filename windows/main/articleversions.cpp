// The main window's version panel, shortcuts and options button: wiring only;
// what the actions do lives in VersionPanel and OptionsWindow.
#include "windows/main/articlewindow.h"

#include "store/pagestate.h"
#include "windows/common/buttonplus.h"
#include "windows/common/controls.h"
#include "windows/common/dialogs.h"
#include "windows/common/panels.h"
#include "windows/common/program.h"
#include "windows/common/qttranslations.h"
#include "windows/common/uitext.h"
#include "windows/common/webpane.h"
#include "windows/main/pagehistory.h"
#include "windows/options/language.h"
#include "windows/options/optionswindow.h"
#include "windows/output/picformwindow.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QShortcut>

#include <ret/retainer.h>

namespace nuvela {

namespace {

// Built-in texts of the version panel's messages; a language file replaces
// them through the tags of `msgver`.
const char16_t* const kVersionMessages[] = {
    u"השינויים לא נשמרו.",
    u"לתבנית זו כבר שמורות עשר גירסאות. עדכן או מחק אחת מהן.",
    u"לתבנית אין מזהה (templateid), ולכן אי אפשר לשמור בה גירסאות.",
};

// Where a button keeps its own tool tip while it shows why it is disabled.
constexpr char kNormalTip[] = "normalToolTip";

void showReason(QWidget* button, const QString& reason)
{
    if (!reason.isEmpty()) {
        if (button->toolTip() != reason) {
            button->setProperty(kNormalTip, button->toolTip());
            button->setToolTip(reason);
        }
    } else if (const QVariant normal = button->property(kNormalTip); normal.isValid()) {
        button->setToolTip(normal.toString());
        button->setProperty(kNormalTip, QVariant());
    }
}

} // namespace

void ArticleWindow::buildVersionPanel()
{
    for (int i = 0; i < 3; ++i) {
        msgver_[i] = new QLabel(this);
        makeArrayElement(msgver_[i], QStringLiteral("msgver"), i);
        setWidgetTag(msgver_[i], QString::fromUtf16(kVersionMessages[i]));
        msgver_[i]->hide();
    }
    versions_ = std::make_unique<VersionPanel>(program_, this, [this] { return versionTexts(); });
    connect(savetxt_, &ButtonPlus::clicked, this, &ArticleWindow::saveAsNewVersion);
    connect(updttxt_, &ButtonPlus::clicked, this, &ArticleWindow::updateVersion);
    connect(deltext_, &ButtonPlus::clicked, this, &ArticleWindow::deleteVersion);
    auto* update = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_S), this);
    connect(update, &QShortcut::activated, this, &ArticleWindow::updateVersion);
    auto* saveAs = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), this);
    connect(saveAs, &QShortcut::activated, this, &ArticleWindow::saveAsNewVersion);
}

VersionTexts ArticleWindow::versionTexts() const
{
    return {widgetTag(savetxt_), widgetTag(deltext_), widgetTag(msgver_[0]), widgetTag(msgver_[0]),
            widgetTag(msgver_[1]), widgetTag(msgver_[2])};
}

void ArticleWindow::syncVersionButtons()
{
    const PageState& s = program_.state;
    const bool keep = versions_->canKeep();
    savetxt_->setEnabled(keep && s.isModified());
    updttxt_->setEnabled(keep && s.isModified());
    deltext_->setEnabled(versions_->canDelete());
    updttxt_->setBorderStyle(s.isModified() ? ButtonBorder::Emphasised : ButtonBorder::Normal);
    const QString reason = keep || s.tavnit.isEmpty() ? QString() : versionTexts().noIdentifier;
    for (ButtonPlus* b : {savetxt_, updttxt_, deltext_})
        showReason(b, reason);
}

void ArticleWindow::markModified()
{
    nuvela::markModified(program_.state);
    syncControls();
    keepRecovery();
}

bool ArticleWindow::checksav(bool leaving)
{
    bool discarded = false;
    const bool ok = versions_->checksav(&discarded);
    if (discarded && !leaving) {
        // A page still showing what the user said No to would have it saved
        // with the next change: the stored version goes back on the page.
        history_->restart();
        viewpic();
    }
    syncControls();
    return ok;
}

bool ArticleWindow::save_girsa(int v)
{
    const bool ok = versions_->saveGirsa(v);
    syncControls();
    return ok;
}

void ArticleWindow::showVersion(int version)
{
    set_scroll();
    {
        const QSignalBlocker block(scroll_);
        scroll_->setValue(version);
    }
    program_.state.version = scroll_->value();
    updateCounter();
    viewpic();
}

void ArticleWindow::saveAsNewVersion()
{
    if (!savetxt_->isEnabled())
        return; // the shortcut does what the button can do
    if (versions_->saveAsNew())
        showVersion(program_.state.version);
    syncControls();
}

void ArticleWindow::updateVersion()
{
    if (!updttxt_->isEnabled())
        return;
    if (versions_->update())
        set_scroll();
    syncControls();
}

void ArticleWindow::deleteVersion()
{
    if (!deltext_->isEnabled())
        return;
    bool changedElsewhere = false;
    if (versions_->deleteCurrent(&changedElsewhere)) {
        history_->restart();
        showVersion(program_.state.version);
    } else if (changedElsewhere) {
        // What the store holds now, unless the page holds the user's changes.
        set_scroll();
        if (!program_.state.isModified())
            viewpic();
    }
    syncControls();
    if (program_.state.isModified())
        keepRecovery(); // a marker on a later version was renumbered
}

void ArticleWindow::showOptions()
{
    OptionsWindow options(program_, [this] { relabel(); }, this);
    options.exec();
}

void ArticleWindow::relabel()
{
    // The previous language's texts go first, so entries the new language
    // lacks, and the built-in Hebrew itself, show the window's own texts.
    // The gallery panel takes its caption without a template the same way.
    setPanelCaption(title_, startCaption_);
    for (QWidget* window : {static_cast<QWidget*>(this), static_cast<QWidget*>(output_.get())}) {
        RestoreBuiltInTexts(window);
        ApplyLanguage(window, program_.dir(), program_.state.language);
    }
    startCaption_ = title_->caption();
    // The start and help pages have a page per language; the pane shows the
    // new one's, and Back no longer leads to the old one's.
    const QString shown = web_->source().toLocalFile();
    if (const QString page = samePageInLanguage(program_.dir(), shown, program_.state.language);
        !page.isEmpty() && QFileInfo(page) != QFileInfo(shown) && web_->navigate(page))
        web_->clearHistory();
    // Qt's dialogs, message buttons and menus speak the new language and
    // read in its direction from the next one shown.
    useQtTranslations(program_);
    tabRowsInReadingOrder();
    // Texts built from tags follow the new language too.
    if (output_)
        output_->relabelOwnTexts();
    updateCounter();
    tellLanguageFile();
    // A template left for the start page keeps its state, not its caption.
    if (!program_.state.tavnit.isEmpty() && tavnit_->currentRow() >= 0)
        showTemplateCaption();
}

} // namespace nuvela

namespace nuvela {

void ArticleWindow::tellLanguageFile()
{
    if (program_.state.language == kBuiltInLanguage)
        return;
    const QString path = languageFilePath(program_.dir(), program_.state.language);
    const auto fault = languageFileFault(program_.store.files(), path);
    if (!fault)
        return;
    const QString file = leftToRight(QDir::toNativeSeparators(path));
    const QString key = fault->utf8 ? QStringLiteral("utf8language") : QStringLiteral("badlanguage");
    QString text = uiText(program_, key, QString());
    if (text.isEmpty()) {
        // The file cannot say it in its own language: Hebrew and English.
        text = fault->utf8
            ? QStringLiteral("קובץ השפה %1 שמור בקידוד UTF-8, ולכן אותיות שאינן אנגליות מוצגות בו משובשות. "
                             "שמרו אותו בקידוד Windows-1255 (ANSI) ובחרו שוב את השפה בהגדרות.\n\n"
                             "The language file %1 is saved as UTF-8, so its letters beyond plain English show "
                             "garbled. Save it as Windows-1255 (ANSI) and choose the language again in Settings.")
            : QStringLiteral("לא ניתן לקרוא את קובץ השפה %1: %2. החלונות נשארים בעברית. "
                             "הפכו אותו לקובץ טקסט Windows-1255 שניתן לקרוא, ובחרו שוב את השפה בהגדרות.\n\n"
                             "The language file %1 cannot be read: %2. The windows keep their Hebrew texts. "
                             "Make it a readable Windows-1255 text file and choose the language again in Settings.");
    }
    program_.dialogs.tell(this, attentionTitle(program_), fillIn(text, {file, fault->unreadable}), false);
}

} // namespace nuvela
