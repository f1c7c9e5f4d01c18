#include "core/RegularFile.h"

#include <QFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace marten {
namespace {

FileContents failed(FileContents::Problem problem, int error = 0)
{
    FileContents contents;
    contents.problem = problem;
    contents.error = error;
    return contents;
}

} // namespace

QString FileContents::reason() const
{
    switch (problem) {
    case Problem::None:
        return {};
    case Problem::NotRegular:
        return QStringLiteral("not a regular file");
    case Problem::TooLarge:
        return QStringLiteral("too large");
    case Problem::Missing:
    case Problem::Unreadable:
        break;
    }
    return QString::fromLocal8Bit(std::strerror(error));
}

FileContents readRegularFile(const QString& path, qint64 maxSize)
{
    // O_NONBLOCK keeps open() from waiting for a writer on a FIFO; fstat() then refuses
    // anything that is not a regular file before a byte is read.
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        const int error = errno;
        return failed(error == ENOENT ? FileContents::Problem::Missing
                                      : FileContents::Problem::Unreadable,
                      error);
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};

    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return failed(FileContents::Problem::Unreadable, errno);
    if (!S_ISREG(st.st_mode))
        return failed(FileContents::Problem::NotRegular);
    if (st.st_size > maxSize)
        return failed(FileContents::Problem::TooLarge);

    FileContents contents;
    contents.bytes.reserve(static_cast<qsizetype>(st.st_size));
    char buffer[16384];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return failed(FileContents::Problem::Unreadable, errno);
        }
        if (n == 0)
            break;
        contents.bytes.append(buffer, n);
        // The file may grow while it is read; the cap holds all the same.
        if (contents.bytes.size() > maxSize)
            return failed(FileContents::Problem::TooLarge);
    }
    return contents;
}

} // namespace marten
