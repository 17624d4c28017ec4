#pragma once

#include "render/drawpage.h"
#include "windows/main/versionpanel.h"

#include <QSet>
#include <QImage>
#include <QWidget>

#include <memory>

class QCheckBox;
class QLabel;
class QLockFile;
class QMenu;
class QListWidget;
class QScrollBar;
class Retainer;

namespace nuvela {

class ButtonPlus;
class PageHistory;
class PageView;
class PicformWindow;
class Program;
class WebPane;

/// The main window `article`: the template gallery, the page view with its
/// overlays, the version panel, the web pane and the buttons that open the
/// output window and end the program. It wires widgets to the engine; the
/// page itself lives in the program's state.
class ArticleWindow : public QWidget {
    Q_OBJECT
public:
    /// screen: the screen size to scale to (the window's own screen when
    /// empty); tests pass the sizes they check.
    explicit ArticleWindow(Program& program, QSize screen = {});
    ~ArticleWindow() override;

    // The window's public routines.
    /// Renders the page and refreshes the page view and its overlays.
    void viewpic();
    /// Switches the main area to the web pane.
    void got_web();
    /// Asks whether to save unsaved changes. False when the user chose to
    /// save and the save failed: the page must then stay as it is. Changes
    /// the user discards leave the page too, unless `leaving` says the
    /// caller replaces the page anyway.
    bool checksav(bool leaving = false);
    /// Counts the stored versions of the chosen template.
    void set_scroll();
    /// Removes every overlay.
    void del_misgarot();
    /// `save_girsa`: writes the page into version v; false when nothing was saved.
    bool save_girsa(int v);
    /// The mark-modified routine: the page now differs from its stored
    /// version; the version panel's save buttons are enabled and the update
    /// button looks emphasised. Every editor calls it after a confirmed change.
    void markModified();
    /// Opens the text editor for text object n (modal); a confirmed change
    /// marks the page modified and redraws it.
    void editText(int n);

    /// A picture frame was activated: the file dialog, then the picture
    /// editor; an applied picture redraws the page.
    void editPicture(int n);
    /// Removes the picture of frame n ("nopic") and redraws the page.
    void removePicture(int n);
    /// `Coll`: the colour dialog recolours the headline's logo.
    void chooseHeadlineColour();

    /// Ctrl+Z: takes back the last page edit; Ctrl+Shift+Z or Ctrl+Y does it again.
    void undo();
    void redo();
    /// The page view's context menu: Undo and Redo with the names of their steps.
    void fillHistoryMenu(QMenu& menu);
    /// "Undo: the text \"Noa Is Seven!\"" in the interface language; "" when there is none.
    QString stepName(bool undoing) const;
    PageHistory& history() const { return *history_; }

    /// At start: when a crash left unsaved changes of this program folder,
    /// says which and offers to put them back on the page (Yes) or discard
    /// them (No). An unreadable recovery file is set aside with a message.
    void offerRecovery();

    // The version panel's buttons (also Ctrl+Shift+S, Ctrl+S) and `proper`.
    void saveAsNewVersion();
    void updateVersion();
    void deleteVersion();
    void showOptions();
    /// Gives the main window, and the output window once loaded, the current
    /// interface language at once (after the options window changed it).
    void relabel();
    /// Says once what keeps the chosen language's file from giving the
    /// windows its texts: saved as UTF-8, or not readable at all.
    void tellLanguageFile();

    /// Choosing item row of the gallery, as a click or the keyboard does.
    void chooseTemplate(int row);
    /// Shows the output window (modal) in the mode its option selects.
    void showOutput();
    /// The output window, loaded (hidden) on first use of the canvas.
    PicformWindow& output();

    /// What the last render ended with (for tests and the status).
    const PageOutcome& lastOutcome() const { return lastOutcome_; }

    QListWidget* gallery() const { return tavnit_; }
    PageView* pageView() const { return prev_; }
    WebPane* web() const { return web_; }
    QScrollBar* versionScroller() const { return scroll_; }
    ButtonPlus* saveAsButton() const { return savetxt_; }
    ButtonPlus* updateButton() const { return updttxt_; }
    ButtonPlus* deleteButton() const { return deltext_; }
    ButtonPlus* optionsButton() const { return proper_; }
    QLabel* versionCounter() const { return count1_; }
    Retainer* titlePanel() const { return title_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void load(QSize screen);
    void tabRowsInReadingOrder();
    void buildWidgets();
    void navigate(int index);
    void versionChanged(int value);
    void updateCounter();
    void syncControls();
    void logoTextSwitched();
    void showLogoText(bool on);
    /// Writes the unsaved page to the recovery file after a step.
    void keepRecovery();
    /// Nothing is unsaved any more: the recovery file goes.
    void dropRecovery();
    void setRecoveryAside(const QString& path, const QString& why);
    /// Whether this run may use the program folder's recovery file: only the
    /// first Nuvela open on a folder does, so a second one never offers the
    /// first one's live edits as a crash's, nor removes them.
    bool ownsRecovery();
    void wirePictureActions();
    void wireHistory();
    void showError(const QString& text);
    /// Says once a run, per file, that the template or the text store on
    /// the page was saved as UTF-8, which is read but shows garbled.
    void tellUtf8Files();
    /// Says at start which templates the gallery cannot list for their
    /// file names.
    void tellUnlistableTemplates();
    void chainTabOrder();
    /// The gallery panel's caption for the chosen template: its identifier
    /// after the language's lead-in.
    void showTemplateCaption();
    void showNoTemplate();
    /// Web mode: the pane in front, the page and its panels hidden.
    void showWebPane();
    void openHelp(const QString& webAddress);
    void keepScaledSize();
    void buildVersionPanel();
    void syncVersionButtons();
    void showVersion(int version);
    VersionTexts versionTexts() const;

    Program& program_;
    std::unique_ptr<PicformWindow> output_;
    PageOutcome lastOutcome_;
    QSize screen_; ///< the screen size the windows scale to

    QListWidget* tavnit_ = nullptr;
    Retainer* title_ = nullptr;
    Retainer* frview_ = nullptr;
    Retainer* frversion_ = nullptr;
    PageView* prev_ = nullptr;
    WebPane* web_ = nullptr;
    Qt::FocusPolicy webFocus_ = Qt::StrongFocus; ///< the pane's own, while it shows
    QCheckBox* kotxt_ = nullptr;
    QCheckBox* chedit_ = nullptr;
    ButtonPlus* coll_ = nullptr;
    QScrollBar* scroll_ = nullptr;
    QLabel* count1_ = nullptr;
    ButtonPlus* savetxt_ = nullptr;
    ButtonPlus* updttxt_ = nullptr;
    ButtonPlus* deltext_ = nullptr;
    ButtonPlus* showme_ = nullptr;
    ButtonPlus* proper_ = nullptr;
    ButtonPlus* cmdExit1_ = nullptr;
    ButtonPlus* nav_[4] = {};
    QLabel* version_ = nullptr;
    bool pressedOnChosen_ = false; ///< the last press in the gallery hit the chosen template
    QString startCaption_;         ///< the gallery panel's caption before any template
    /// Hidden holders of the version panel's messages (in their tags, which
    /// a language file can replace).
    QLabel* msgver_[3] = {};
    std::unique_ptr<VersionPanel> versions_;
    std::unique_ptr<PageHistory> history_;
    bool recoveryKept_ = false;        ///< this run wrote (or restored) the recovery file
    bool recoveryFailureTold_ = false; ///< a failed write is told once a run
    std::unique_ptr<QLockFile> recoveryLock_; ///< held while this run owns the recovery file
    bool recoveryLockTried_ = false;
    QString recoveryProblem_; ///< why this run cannot keep a recovery file at all ("" when it can)
    QSet<QString> encodingChecked_; ///< files tellUtf8Files has read
};

} // namespace nuvela
