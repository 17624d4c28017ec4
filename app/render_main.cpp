// nuvela-render: draws a template's page into a picture file, without a
// window or a display.

#include "app/heapreserve.h"
#include "app/librarychatter.h"
#include "app/mergejob.h"
#include "app/renderjob.h"
#include "app/templatecheck.h"
#include "app/userfolder.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTextStream>

#include <new>
#include <optional>

#include <unistd.h>

namespace {

/// Where the user's one line goes: the real standard error stream, also
/// while library chatter is muted.
int userStderr = STDERR_FILENO;

QtMessageHandler qtMessages = nullptr;
bool verbose = false;

// Qt's own chatter (missing runtime folders on a server, font cache notes)
// is not for the user: failures are reported as one "Error: " line.
void quietMessages(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    // Qt hands picture scaling to helper threads and waits for them; one
    // that cannot start (no address space left for its stack) would leave
    // the renderer waiting forever. Nothing is half written while drawing.
    if (message.startsWith(u"QThread::start: Thread creation error")) {
        nuvela::writeLine(userStderr, QStringLiteral("Error: There is not enough memory to draw this page "
                                                     "(no thread could start)."));
        _exit(1);
    }
    if (verbose)
        qtMessages(type, context, message);
    else if (type == QtFatalMsg)
        nuvela::writeLine(userStderr, QStringLiteral("Error: ") + message);
}

// Once the output is written and the streams are flushed, the process ends
// without taking down the page, the fonts and the platform piece by piece:
// that teardown is a tenth of a small render and changes nothing on disk.
// Sanitizer builds return from main as usual, so that their leak check at
// exit sees everything freed.
int finish(int status)
{
    fflush(stdout);
    fflush(stderr);
#if !defined(__SANITIZE_ADDRESS__)
    _exit(status);
#endif
    return status;
}

} // namespace

int main(int argc, char** argv)
{
    // Pages are drawn off screen; no display or window system is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    std::optional<nuvela::LibraryChatterMuted> muted;
    verbose = !qEnvironmentVariableIsEmpty("NUVELA_VERBOSE");
    qtMessages = qInstallMessageHandler(quietMessages);
    if (!verbose) {
        // The renderer prints nothing but its usage on standard output.
        muted.emplace(true);
        userStderr = muted->errorStream();
    }
    nuvela::reserveHugePageHeap(nuvela::kRenderHeapReserve);
    QGuiApplication app(argc, argv);

    QStringList args = app.arguments();
    args.removeFirst();
    // Installed, the user's own folder holds the versions he saved in the program.
    const QString appDir = QCoreApplication::applicationDirPath();
    const QString bundled = nuvela::defaultToolFolder(appDir, nuvela::defaultProgramDir(appDir));
    const nuvela::Edition edition = nuvela::editionFromTitle(QStringLiteral(NUVELA_TITLE));
    if (args.contains(QStringLiteral("--check"))) {
        muted.reset();
        userStderr = STDERR_FILENO;
        return nuvela::runTemplateCheck(args, bundled, edition);
    }
    QString error;
    bool help = false;
    const auto request = nuvela::parseRenderArguments(args, bundled, edition, &error, &help);
    if (!request) {
        muted.reset();
        userStderr = STDERR_FILENO;
        if (help) {
            QTextStream(stdout) << error;
            return 0;
        }
        nuvela::writeLine(STDERR_FILENO, QStringLiteral("Error: ") + error);
        return 2;
    }
    if (!request->merge.isEmpty()) {
        int status = nuvela::kMergeFailed;
        try {
            status = nuvela::runMerge(*request, {userStderr, !request->quiet && isatty(userStderr)});
        } catch (const std::bad_alloc&) {
            nuvela::writeLine(userStderr, QStringLiteral("Error: There is not enough memory to draw these cards."));
        }
        return finish(status);
    }
    try {
        error = nuvela::runRender(*request);
    } catch (const std::bad_alloc&) {
        // Whatever asked for the memory, the user gets one line, not an abort.
        error = QStringLiteral("There is not enough memory to draw this page.");
    }
    muted.reset();
    userStderr = STDERR_FILENO;
    if (!error.isEmpty()) {
        nuvela::writeLine(STDERR_FILENO, QStringLiteral("Error: ") + error);
        return 1;
    }
    return finish(0);
}
