#pragma once

#include "canvas/surface.h"
#include "render/pagesetup.h"
#include "store/edition.h"
#include "store/keystore.h"
#include "store/pagestate.h"
#include "windows/common/programfonts.h"

#include <QString>

#include <functional>
#include <memory>

namespace nuvela {

class Dialogs;

/// The program's title, built in; it decides the edition.
QString programTitle();

/// Everything the windows share for one run: the program folder, the page
/// being made (state, store and full-size canvas), the fonts added for the
/// run and the dialogs. Windows read and change it; none of them owns it.
class Program {
public:
    Program(QString programDir, Dialogs& dialogs, QString title = programTitle());
    ~Program();

    const QString& dir() const { return dir_; }
    const QString& title() const { return title_; }
    Edition edition() const { return edition_; }

    PageState state;
    KeyStore store;
    Surface canvas; ///< `Pic`: the page at full size
    PageSetup pages; ///< opens templates and versions, builds render contexts
    ProgramFonts fonts;
    Dialogs& dialogs;

    /// Runs before the fonts are removed at shutdown (the unsaved-changes
    /// prompt); set by the main window. False keeps the program running (the
    /// user's changes could not be saved).
    std::function<bool()> beforeShutdown;
    /// Ends the event loop; set by main() (tests leave it empty).
    std::function<void()> quit;

    /// The shutdown routine: the unsaved-changes prompt, removal of the fonts
    /// this run added, end of the program. Runs once; later calls do nothing.
    /// False when the program goes on because unsaved changes could not be saved.
    bool shutdown();
    bool hasShutDown() const { return shutDown_; }

private:
    QString dir_;
    QString title_;
    Edition edition_;
    bool shutDown_ = false;
};

/// Where the program folder is: the one given, or else the folder holding
/// the executable when it holds "templates" and can be written. Returns "" and
/// sets error when there is no usable folder.
QString findProgramFolder(const QString& given, const QString& executableDir, QString* error);

} // namespace nuvela
