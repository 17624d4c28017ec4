// Nuvela: the program.

#include "app/userfolder.h"
#include "windows/common/buttoncaptions.h"
#include "windows/common/dialogs.h"
#include "windows/common/focusreturn.h"
#include "windows/common/program.h"
#include "windows/common/uitext.h"
#include "windows/common/version.h"
#include "windows/main/articlewindow.h"

#include <QApplication>
#include <QIcon>
#include <QTextStream>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <optional>

namespace {

// Before a program folder is found no language file can be read, so the
// message speaks both the built-in Hebrew and English. (The option in the
// Hebrew text is held left to right by marks on both sides.)
void tellStartFailure(nuvela::Dialogs& dialogs, const QString& hebrew, const QString& english)
{
    QTextStream(stderr) << "Error: " << english << '\n';
    dialogs.tell(nullptr, QStringLiteral("שגיאה / Error"), hebrew + QStringLiteral("\n\n") + english, true);
}

/// Usage, version and a missing folder are answered before Qt looks for a
/// display, so they also work in a terminal without one. Returns the exit
/// status when the run ends here.
std::optional<int> answeredWithoutWindow(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--program-dir") == 0) {
            if (++i == argc) { // its folder may have any name, but must be there
                std::fputs("Error: --program-dir needs a folder (see --help)\n", stderr);
                return 2;
            }
        } else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs("Usage: nuvela [--program-dir DIR]\n"
                       "       nuvela --help | --version\n"
                       "Starts Nuvela on the program folder DIR. By default an installed Nuvela uses\n"
                       "your own folder (~/.local/share/Nuvela), made from the shipped one on first\n"
                       "start; otherwise the folder of the program.\n",
                       stdout);
            return 0;
        } else if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("nuvela %d.%d.%d\n", nuvela::kVersionMajor, nuvela::kVersionMinor,
                        nuvela::kVersionRevision);
            return 0;
        }
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char** argv)
{
    if (const auto status = answeredWithoutWindow(argc, argv))
        return *status;
    QApplication app(argc, argv);
    app.setApplicationName(nuvela::programTitle());
    app.setDesktopFileName(QStringLiteral("example.nuvela.Nuvela"));
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/nuvela-%1.png").arg(size));
    app.setWindowIcon(icon);
    nuvela::returnFocusOnClose(app);
    nuvela::keepCaptionsBesidePictures(app);

    QString given;
    const QStringList args = app.arguments();
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] == u"--program-dir" && i + 1 < args.size()) {
            given = args[++i];
        } else {
            QTextStream(stderr) << "Error: unknown option " << args[i] << " (see --help)\n";
            return 2;
        }
    }
    nuvela::QtDialogs dialogs;
    QString problem;
    // Installed: the user's own folder, made and kept up to date from the shipped one.
    const QString shipped = nuvela::shippedProgramFolder(QCoreApplication::applicationDirPath());
    if (given.isEmpty() && !shipped.isEmpty()) {
        given = nuvela::userProgramFolder();
        const nuvela::FolderSync sync = nuvela::syncUserFolder(shipped, given);
        if (!sync.error.isEmpty()) {
            tellStartFailure(dialogs,
                             QStringLiteral("לא ניתן להכין את התיקייה %1. ודאו שיש מקום בדיסק ושהתיקייה ניתנת לכתיבה.")
                                 .arg(nuvela::leftToRight(given)),
                             QStringLiteral("Nuvela cannot prepare your folder %1: %2").arg(given, sync.error));
            return 1;
        }
    }
    const QString dir = nuvela::findProgramFolder(given, QCoreApplication::applicationDirPath(), &problem);
    if (dir.isEmpty()) {
        tellStartFailure(dialogs,
                         // The option on a line of its own: inside a Hebrew sentence Qt's labels
                         // set its leading dashes at its far end, whatever marks surround it.
                         QStringLiteral("לא ניתן להשתמש בתיקיית התוכנית: אין בה תיקיית templates, או שאינה ניתנת "
                                        "לכתיבה. התחילו את התוכנית עם האפשרות שלהלן ותיקייה ניתנת לכתיבה "
                                        "שיש בה את התבניות:\n--program-dir"),
                         problem);
        return 1;
    }

    nuvela::Program program(dir, dialogs);
    program.quit = [] { QCoreApplication::quit(); };
    nuvela::ArticleWindow window(program);
    window.show();
    // Once the window is up: a language file that cannot serve, and unsaved
    // work a crash left behind.
    QTimer::singleShot(0, &window, &nuvela::ArticleWindow::tellLanguageFile);
    QTimer::singleShot(0, &window, &nuvela::ArticleWindow::offerRecovery);
    return app.exec();
}
