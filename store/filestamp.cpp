#include "store/filestamp.h"

#include <QFile>

#include <sys/stat.h>
#include <time.h>

namespace nuvela {

namespace {
// Longer than the timestamp granularity of any file system we run on.
constexpr qint64 kRecentNs = 2'000'000'000;

qint64 nowNs()
{
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return qint64(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}
} // namespace

bool FileStamp::isRecent() const { return nowNs() - std::max(mtimeNs, ctimeNs) < kRecentNs; }

QString FileStamp::toString() const
{
    return QStringLiteral("%1:%2:%3:%4:%5").arg(device).arg(inode).arg(size).arg(mtimeNs).arg(ctimeNs);
}

std::optional<FileStamp> fileStamp(const QString& path)
{
    struct stat st{};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    FileStamp s;
    s.device = st.st_dev;
    s.inode = st.st_ino;
    s.size = st.st_size;
    s.mtimeNs = qint64(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
    s.ctimeNs = qint64(st.st_ctim.tv_sec) * 1'000'000'000 + st.st_ctim.tv_nsec;
    return s;
}

} // namespace nuvela
