// Test helper: one save or one delete of a version in a text store, so a test
// can kill it (SIGKILL) at any point, or starve it of disk space.
//   version_writer save|delete STORE [FILE_SIZE_LIMIT]
#include "store/inifiles.h"
#include "store/versions.h"

#include <QString>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/resource.h>

using namespace nuvela;

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    if (argc > 3) {
        // A file that may not grow past this size fails its writes as a full
        // disk does.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlim_t limit = std::strtoull(argv[3], nullptr, 10);
        const rlimit r{limit, limit};
        setrlimit(RLIMIT_FSIZE, &r);
    }
    IniFiles files;
    const QString path = QString::fromLocal8Bit(argv[2]);
    StoreResult result;
    if (std::strcmp(argv[1], "save") == 0) {
        QList<StoreEntry> entries{{QStringLiteral("txt0"), QStringLiteral("ok")}};
        for (int k = 1; k <= 40; ++k)
            entries.append({QStringLiteral("txt%1").arg(k), QStringLiteral("row %1~second row of %1").arg(k)});
        result = writeEntries(files, path, QStringLiteral("tav999girsa1"), entries);
    } else {
        result = deleteVersion(files, path, QStringLiteral("999"), 1);
    }
    if (!result.ok()) {
        std::fprintf(stderr, "%s\n", qPrintable(result.error));
        return 1;
    }
    return 0;
}
