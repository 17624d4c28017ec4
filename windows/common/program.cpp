#include "windows/common/program.h"

#include <QDir>
#include <QFileInfo>

namespace nuvela {

QString programTitle() { return QStringLiteral(NUVELA_TITLE); }

Program::Program(QString programDir, Dialogs& dialogs_, QString title)
    : store(programDir, state)
    , pages(store, state, editionFromTitle(title))
    , dialogs(dialogs_)
    , dir_(std::move(programDir))
    , title_(std::move(title))
    , edition_(editionFromTitle(title_))
{
}

Program::~Program() { fonts.removeAll(); }

bool Program::shutdown()
{
    if (shutDown_)
        return true;
    if (beforeShutdown && !beforeShutdown())
        return false;
    shutDown_ = true;
    fonts.removeAll();
    if (quit)
        quit();
    return true;
}

QString findProgramFolder(const QString& given, const QString& executableDir, QString* error)
{
    auto usable = [](const QString& dir, QString* why) {
        const QFileInfo templates(dir + QStringLiteral("/templates"));
        if (!templates.isDir()) {
            *why = QStringLiteral("The folder %1 holds no \"templates\" folder.").arg(QDir::toNativeSeparators(dir));
            return false;
        }
        if (!QFileInfo(dir).isWritable() || !templates.isWritable()) {
            // The folder that refuses: the user must find and mend that one.
            const QString refusing = QFileInfo(dir).isWritable() ? templates.filePath() : dir;
            *why = QStringLiteral("The folder %1 cannot be written; Nuvela keeps its versions there.")
                       .arg(QDir::toNativeSeparators(refusing));
            return false;
        }
        return true;
    };
    QString why;
    const QString dir = QDir::cleanPath(QDir(given.isEmpty() ? executableDir : given).absolutePath());
    if (usable(dir, &why))
        return dir;
    if (error)
        *error = why + QStringLiteral(" Start Nuvela with --program-dir FOLDER, naming a writable "
                                      "folder that holds the templates.");
    return {};
}

} // namespace nuvela
