// nuvela-render: draws a template's page into a picture file, without a
// window or a display.

#include "app/renderjob.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>

namespace {

// Qt's own chatter (missing runtime folders on a server, font cache notes)
// is not for the user: failures are reported as one "Error: " line.
void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtFatalMsg)
        fprintf(stderr, "Error: %s\n", qPrintable(message));
}

} // namespace

int main(int argc, char** argv)
{
    // Pages are drawn off screen; no display or window system is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("NUVELA_VERBOSE"))
        qInstallMessageHandler(quietMessages);
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
        if (help) {
            QTextStream(stdout) << error;
            return 0;
        }
        err << "Error: " << error << Qt::endl;
        return 2;
    }
    error = nuvela::runRender(*request);
    if (!error.isEmpty()) {
        err << "Error: " << error << Qt::endl;
        return 1;
    }
    return 0;
}
