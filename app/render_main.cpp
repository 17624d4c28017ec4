// nuvela-render: draws a template's page into a picture file, without a
// window or a display.

#include "app/librarychatter.h"
#include "app/renderjob.h"
#include "app/templatecheck.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTextStream>

#include <new>
#include <optional>

namespace {

/// Where the user's one line goes: the real standard error stream, also
/// while library chatter is muted.
int userStderr = STDERR_FILENO;

// Qt's own chatter (missing runtime folders on a server, font cache notes)
// is not for the user: failures are reported as one "Error: " line.
void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtFatalMsg)
        nuvela::writeLine(userStderr, QStringLiteral("Error: ") + message);
}

} // namespace

int main(int argc, char** argv)
{
    // Pages are drawn off screen; no display or window system is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    std::optional<nuvela::LibraryChatterMuted> muted;
    if (qEnvironmentVariableIsEmpty("NUVELA_VERBOSE")) {
        qInstallMessageHandler(quietMessages);
        // The renderer prints nothing but its usage on standard output.
        muted.emplace(true);
        userStderr = muted->errorStream();
    }
    QGuiApplication app(argc, argv);

    QStringList args = app.arguments();
    args.removeFirst();
    const QString bundled = nuvela::defaultProgramDir(QCoreApplication::applicationDirPath());
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
    return 0;
}
