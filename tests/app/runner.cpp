#include "runner.h"
#include "support/testdirs.h"

#include <QProcess>

namespace test {

Run runRenderer(const QStringList& args, long addressSpaceKiB)
{
    QProcessEnvironment none;
#if defined(__SANITIZE_ADDRESS__)
    // The sanitizer's own settings (leak checks off) still reach the child.
    for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS"})
        if (qEnvironmentVariableIsSet(name))
            none.insert(QString::fromLatin1(name), qEnvironmentVariable(name));
#endif
    if (addressSpaceKiB > 0)
        return runProgram(QStringLiteral("/bin/sh"),
                          QStringList{"-c", QStringLiteral("ulimit -v %1 && exec \"$0\" \"$@\"").arg(addressSpaceKiB),
                                      QStringLiteral(NUVELA_RENDER_EXE)} + args, &none);
    return runProgram(QStringLiteral(NUVELA_RENDER_EXE), args, &none);
}

} // namespace test
