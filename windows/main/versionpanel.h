#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace nuvela {

class Program;
struct StoreResult;

/// The texts the version actions show. The window reads them from its
/// widgets' tags at the moment they are needed, so a language file can
/// replace them.
struct VersionTexts {
    QString savePrompt;   ///< `savetxt` tag: save the changes?
    QString deletePrompt; ///< `deltext` tag: delete the current version?
    QString saveFailed;   ///< said before the reason a save failed
    QString deleteFailed; ///< said before the reason a delete failed
    QString versionsFull; ///< save as new refused: ten versions are stored
    QString noIdentifier; ///< tool tip of the disabled buttons: no template id
};

/// What the version panel does with the page in the program's state: saving
/// it as a new version, updating the marked version, deleting the current
/// one, and the unsaved-changes prompt. Every store change is one atomic
/// rewrite of the text store; a failed one is reported and leaves the
/// marker set, so nothing is passed off as saved. The window keeps its
/// scroller and buttons in step with the state after each call.
class VersionPanel {
public:
    VersionPanel(Program& program, QWidget* owner, std::function<VersionTexts()> texts);

    /// `save_girsa`: writes the page into version v. False (after telling the
    /// user why) when nothing was saved.
    bool saveGirsa(int v);
    /// Save as a new version: the number after the stored ones (1 when none
    /// is stored); refused when the template already keeps ten. On success
    /// the new version is the one on the page.
    bool saveAsNew();
    /// Update: saves into the marked version, the one on the page when the
    /// changes began. False when nothing is marked or the save failed.
    bool update();
    /// `checksav`: when something is unsaved, asks whether to save it; Yes
    /// updates, No discards. False only when the user said Yes and the save
    /// failed: the changes are still there and the page must not be replaced.
    /// `discarded` tells whether the changes were dropped unsaved.
    bool checksav(bool* discarded = nullptr);
    /// Delete the current version after asking. Unsaved changes of that very
    /// version are discarded; a marker on a later version follows its
    /// renumbering. True when the store changed. A version that another
    /// program changed since this window showed it is not deleted (the user
    /// is told, and `changedElsewhere` set): the page showed something else.
    bool deleteCurrent(bool* changedElsewhere = nullptr);

    /// The version on the page was just read from the text store (drawn
    /// while nothing is unsaved): a later update or delete checks that the
    /// store still holds what the user saw, as another Nuvela on the same
    /// program folder may save, delete or renumber versions meanwhile.
    void remember();

    /// Whether the page's template can keep versions at all (it has an
    /// identifier).
    bool canKeep() const;
    /// Whether the version on the page is a stored one that can be deleted.
    bool canDelete() const;

private:
    /// Tells the user why a store change failed; true when it did not.
    bool succeeded(const StoreResult& result, const QString& failed);
    /// Whether version v differs in the store from what this window last
    /// read or wrote there; false when it knows nothing of v.
    bool changedElsewhere(int v);
    std::optional<QList<QString>> stored(const QString& section);

    struct Seen {
        QString section;
        std::optional<QList<QString>> lines; ///< nothing: the version was not stored
    };

    Program& program_;
    QWidget* owner_;
    std::function<VersionTexts()> texts_;
    std::optional<Seen> seen_;
};

} // namespace nuvela
