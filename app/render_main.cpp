// nuvela-render: draws a template's page into a picture file, without a
// window or a display.

#include "app/mergejob.h"
#include "app/renderjob.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>
#include <new>
#include <optional>

#include <fcntl.h>
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
        dprintf(userStderr, "Error: There is not enough memory to draw this page (no thread could start).\n");
        _exit(1);
    }
    if (verbose)
        qtMessages(type, context, message);
    else if (type == QtFatalMsg)
        dprintf(userStderr, "Error: %s\n", qPrintable(message));
}

// Libraries below Qt (libpng's default error handler, fontconfig) write
// their complaints straight to file descriptor 2. While the page is drawn
// that descriptor points at /dev/null; our own line goes to the real one.
// Sanitizer builds keep it, so that their reports are not lost.
class LibraryChatterMuted {
public:
    LibraryChatterMuted()
    {
#if !defined(__SANITIZE_ADDRESS__)
        fflush(stderr);
        saved_ = fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
        const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (saved_ >= 0 && null >= 0 && dup2(null, STDERR_FILENO) >= 0)
            userStderr = saved_;
        if (null >= 0)
            close(null);
#endif
    }
    ~LibraryChatterMuted() { restore(); }
    LibraryChatterMuted(const LibraryChatterMuted&) = delete;
    LibraryChatterMuted& operator=(const LibraryChatterMuted&) = delete;

    void restore()
    {
        if (saved_ < 0)
            return;
        fflush(stderr);
        dup2(saved_, STDERR_FILENO);
        close(saved_);
        saved_ = -1;
        userStderr = STDERR_FILENO;
    }

private:
    int saved_ = -1;
};

} // namespace

int main(int argc, char** argv)
{
    // Pages are drawn off screen; no display or window system is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    std::optional<LibraryChatterMuted> muted;
    verbose = !qEnvironmentVariableIsEmpty("NUVELA_VERBOSE");
    qtMessages = qInstallMessageHandler(quietMessages);
    if (!verbose)
        muted.emplace();
    QGuiApplication app(argc, argv);

    QStringList args = app.arguments();
    args.removeFirst();
    QString error;
    bool help = false;
    const auto request = nuvela::parseRenderArguments(
        args, nuvela::defaultProgramDir(QCoreApplication::applicationDirPath()),
        nuvela::editionFromTitle(QStringLiteral(NUVELA_TITLE)), &error, &help);
    QTextStream err(stderr);
    if (!request) {
        muted.reset();
        if (help) {
            QTextStream(stdout) << error;
            return 0;
        }
        err << "Error: " << error << Qt::endl;
        return 2;
    }
    if (!request->merge.isEmpty()) {
        int status = nuvela::kMergeFailed;
        try {
            status = nuvela::runMerge(*request, {userStderr, !request->quiet && isatty(userStderr)});
        } catch (const std::bad_alloc&) {
            dprintf(userStderr, "Error: There is not enough memory to draw these cards.\n");
        }
        return status;
    }
    try {
        error = nuvela::runRender(*request);
    } catch (const std::bad_alloc&) {
        // Whatever asked for the memory, the user gets one line, not an abort.
        error = QStringLiteral("There is not enough memory to draw this page.");
    }
    muted.reset();
    if (!error.isEmpty()) {
        err << "Error: " << error << Qt::endl;
        return 1;
    }
    return 0;
}
