#include "core/RegularFile.h"

#include "core/Posix.h"

#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace marten {
namespace {

Failure unreadable(int code)
{
    return {posix::reason(code), code};
}

} // namespace

Result<QByteArray> readRegularFile(const QString& path, qint64 maxSize)
{
    // O_NONBLOCK keeps open() from waiting for a writer on a FIFO; fstat() then refuses
    // anything that is not a regular file before a byte is read.
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return unreadable(errno);
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};

    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return unreadable(errno);
    if (!S_ISREG(st.st_mode))
        return Failure{QStringLiteral("not a regular file")};
    if (st.st_size > maxSize)
        return Failure{QStringLiteral("too large")};

    QByteArray bytes;
    bytes.reserve(static_cast<qsizetype>(st.st_size));
    char buffer[16384];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return unreadable(errno);
        }
        if (n == 0)
            break;
        bytes.append(buffer, n);
        // The file may grow while it is read; the cap holds all the same.
        if (bytes.size() > maxSize)
            return Failure{QStringLiteral("too large")};
    }
    return bytes;
}

} // namespace marten
