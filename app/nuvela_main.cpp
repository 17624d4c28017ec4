// Nuvela: the program.

#include "app/userfolder.h"
#include "windows/common/buttoncaptions.h"
#include "windows/common/dialogs.h"
#include "windows/common/focusreturn.h"
#include "windows/common/program.h"
#include "windows/main/articlewindow.h"

#include <QApplication>
#include <QStandardPaths>
#include <QTextStream>
#include <QTimer>

namespace {

// Before a program folder is found no language file can be read, so the
// message speaks both the built-in Hebrew and English. (The option in the
// Hebrew text is held left to right by marks on both sides.)
void tellStartFailure(nuvela::Dialogs& dialogs, const QString& hebrew, const QString& english)
{
    QTextStream(stderr) << "Error: " << english << '\n';
    dialogs.tell(nullptr, QStringLiteral("שגיאה / Error"), hebrew + QStringLiteral("\n\n") + english, true);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    app.setApplicationName(nuvela::programTitle());
    app.setDesktopFileName(QStringLiteral("example.nuvela.Nuvela"));
    nuvela::returnFocusOnClose(app);
    nuvela::keepCaptionsBesidePictures(app);

    QString given;
    const QStringList args = app.arguments();
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] == u"--program-dir" && i + 1 < args.size()) {
            given = args[++i];
        } else if (args[i] == u"--help" || args[i] == u"-h") {
            QTextStream(stdout) << "Usage: nuvela [--program-dir DIR]\n"
                                   "Starts Nuvela on the program folder DIR (default: the folder of the program).\n";
            return 0;
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
        given = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        const nuvela::FolderSync sync = nuvela::syncUserFolder(shipped, given);
        if (!sync.error.isEmpty()) {
            tellStartFailure(dialogs,
                             QStringLiteral("לא ניתן להכין את התיקייה %1. ודאו שיש מקום בדיסק ושהתיקייה ניתנת לכתיבה.")
                                 .arg(given),
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
