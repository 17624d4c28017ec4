#include "store/outputfile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace nuvela {

namespace {

QByteArray native(const QString& path) { return QFile::encodeName(path); }

bool isReadOnly(const QString& path, mode_t mode)
{
    // The rename would replace a protected file for an administrator too;
    // the protection counts, not who runs the program.
    return ::access(native(path).constData(), W_OK) != 0 || !(mode & (S_IWUSR | S_IWGRP | S_IWOTH));
}

/// The folder a file goes into has no room left (some file systems report
/// a full disk without saying so).
bool folderIsFull(const QString& path)
{
    struct statvfs fs{};
    const QString folder = QFileInfo(path).absolutePath();
    return ::statvfs(native(folder).constData(), &fs) == 0 && fs.f_bavail == 0;
}

StoreResult failure(const QString& path, int errorNumber, const QString& text)
{
    return {outputFailure(path, errorNumber, text)};
}

} // namespace

OutputPlace examineOutput(const QString& path)
{
    const QFileInfo info(path);
    OutputPlace place{path, OutputKind::Absent};
    if (info.isSymLink()) {
        // Written through to the file the link names, also when that does
        // not exist yet.
        place.target = info.exists() ? info.canonicalFilePath() : info.symLinkTarget();
    }
    struct stat st{};
    if (::stat(native(place.target).constData(), &st) != 0)
        return place;
    if (!S_ISREG(st.st_mode))
        place.kind = OutputKind::NotRegular;
    else
        place.kind = isReadOnly(place.target, st.st_mode) ? OutputKind::ReadOnly : OutputKind::Regular;
    return place;
}

bool mayReplaceReadOnly(const OutputPlace& place)
{
    struct stat st{};
    struct statvfs fs{};
    const QByteArray folder = native(QFileInfo(place.target).absolutePath());
    return ::stat(native(place.target).constData(), &st) == 0 && (st.st_uid == ::geteuid() || ::geteuid() == 0)
        && ::statvfs(folder.constData(), &fs) == 0 && !(fs.f_flag & ST_RDONLY) && ::access(folder.constData(), W_OK) == 0;
}

QString outputFailure(const QString& path, int errorNumber, const QString& deviceText)
{
    if (errorNumber == ENOSPC || errorNumber == EDQUOT
        || ((errorNumber == 0 || deviceText.isEmpty() || deviceText == u"Unknown error") && folderIsFull(path)))
        return QStringLiteral("Cannot write %1: No space left on device. Free some space on that disk, "
                              "or save to another one.")
            .arg(path);
    if (errorNumber == EACCES || errorNumber == EPERM || errorNumber == EROFS)
        return QStringLiteral("Cannot write %1: %2. Choose a folder you may write to.")
            .arg(path, QString::fromLocal8Bit(std::strerror(errorNumber)));
    QString reason = deviceText;
    if ((reason.isEmpty() || reason == u"Unknown error") && errorNumber != 0)
        reason = QString::fromLocal8Bit(std::strerror(errorNumber));
    if (reason.isEmpty())
        reason = QStringLiteral("the file could not be written");
    return QStringLiteral("Cannot write %1: %2.").arg(path, reason);
}

StoreResult writeOutputFile(const QString& path, const std::function<bool(QIODevice&)>& write,
                            ReadOnlyFiles readOnly)
{
    const OutputPlace place = examineOutput(path);
    if (place.kind == OutputKind::NotRegular)
        return {QStringLiteral("%1 is not a regular file (it is a folder, a device or a FIFO) and is "
                               "never replaced; choose another name.")
                    .arg(path)};
    const QString refusal = QStringLiteral("%1 is read-only and is not replaced; choose another name, or make "
                                           "the file writable first.")
                                .arg(path);
    if (place.kind == OutputKind::ReadOnly && readOnly == ReadOnlyFiles::Refuse)
        return {refusal};
    // A protected file the user agreed to give up is replaced as his own
    // file, and the new one stays protected as the old one was. The
    // protection is lifted for the writing only: the save file refuses a
    // target it may not write.
    struct stat protectedFile{};
    const bool unprotected = place.kind == OutputKind::ReadOnly
        && ::stat(native(place.target).constData(), &protectedFile) == 0
        && ::chmod(native(place.target).constData(), protectedFile.st_mode | S_IWUSR) == 0;
    if (place.kind == OutputKind::ReadOnly && !unprotected)
        return {refusal};
    const auto protectAgain = [&] {
        if (unprotected)
            ::chmod(native(place.target).constData(), protectedFile.st_mode & 07777);
    };

    QSaveFile file(place.target);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly)) {
        const int error = errno;
        protectAgain();
        return failure(place.target, error, file.errorString());
    }
    errno = 0;
    // The explicit flush matters: a short write (a full disk) left in the
    // buffer is lost at commit, which then renames a cut file into place.
    if (!write(file) || !file.flush() || file.error() != QFileDevice::NoError) {
        const int error = errno;
        const QString text = file.errorString();
        file.cancelWriting();
        protectAgain();
        return failure(place.target, error, text);
    }
    errno = 0;
    const bool committed = file.commit();
    const int error = errno;
    protectAgain();
    if (!committed)
        return failure(place.target, error, file.errorString());
    return {};
}

StoreResult writeOutputFile(const QString& path, const QByteArray& bytes, ReadOnlyFiles readOnly)
{
    return writeOutputFile(
        path, [&](QIODevice& out) { return out.write(bytes) == bytes.size(); }, readOnly);
}

} // namespace nuvela
