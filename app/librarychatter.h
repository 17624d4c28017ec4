#pragma once

// The command-line tools report a failure as one "Error: " line. Libraries
// below Qt (libpng's default error handler, fontconfig, the Access reader's
// debugging dumps) write their own complaints straight to file descriptors 1
// and 2; while a tool works those descriptors point at /dev/null, and the
// tool's own lines go to the real ones. Sanitizer builds keep descriptor 2,
// so that their reports are not lost.

#include <QByteArray>
#include <QString>

#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

namespace nuvela {

class LibraryChatterMuted {
public:
    /// Mutes descriptor 2, and descriptor 1 too when muteOutput.
    explicit LibraryChatterMuted(bool muteOutput)
    {
        mute(STDERR_FILENO, savedErr_);
        if (muteOutput)
            mute(STDOUT_FILENO, savedOut_);
    }
    ~LibraryChatterMuted() { restore(); }
    LibraryChatterMuted(const LibraryChatterMuted&) = delete;
    LibraryChatterMuted& operator=(const LibraryChatterMuted&) = delete;

    void restore()
    {
        fflush(stdout);
        fflush(stderr);
        for (auto [fd, saved] : {std::pair{STDERR_FILENO, &savedErr_}, std::pair{STDOUT_FILENO, &savedOut_}}) {
            if (*saved < 0)
                continue;
            dup2(*saved, fd);
            close(*saved);
            *saved = -1;
        }
    }

    /// The real error stream, also while it is muted.
    int errorStream() const { return savedErr_ >= 0 ? savedErr_ : STDERR_FILENO; }
    /// The real output stream, also while it is muted.
    int outputStream() const { return savedOut_ >= 0 ? savedOut_ : STDOUT_FILENO; }

private:
    static void mute(int fd, int& saved)
    {
#if !defined(__SANITIZE_ADDRESS__)
        fflush(fd == STDOUT_FILENO ? stdout : stderr);
        saved = fcntl(fd, F_DUPFD_CLOEXEC, 0);
        const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (saved >= 0 && (null < 0 || dup2(null, fd) < 0)) {
            close(saved);
            saved = -1;
        }
        if (null >= 0)
            close(null);
#else
        (void)fd;
        (void)saved;
#endif
    }

    int savedErr_ = -1;
    int savedOut_ = -1;
};

/// Writes one line, UTF-8, to a descriptor.
inline void writeLine(int fd, const QString& text)
{
    const QByteArray utf8 = text.toUtf8() + '\n';
    qsizetype done = 0;
    while (done < utf8.size()) {
        const ssize_t n = ::write(fd, utf8.constData() + done, size_t(utf8.size() - done));
        if (n <= 0)
            return;
        done += n;
    }
}

} // namespace nuvela
