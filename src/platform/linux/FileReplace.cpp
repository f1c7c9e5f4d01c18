#include "platform/linux/FileReplace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace marten {
namespace {

QString systemText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// The file a chain of links at `path` ends in; `path` itself when it is no link.
QString resolveLinks(const QString& path)
{
    QString current = path;
    for (int hops = 0; hops < 16; ++hops) {
        const QFileInfo info(current);
        if (!info.isSymLink())
            return current;
        current = info.symLinkTarget();
    }
    return current; // a loop: the rename below reports it
}

bool writeAll(int fd, const QByteArray& bytes)
{
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        left -= n;
    }
    return true;
}

} // namespace

bool replaceFile(const QString& path, const QByteArray& bytes, QString* error)
{
    const QString target = resolveLinks(path);
    const QFileInfo targetInfo(target);
    const QString temporary =
        targetInfo.absolutePath() + QStringLiteral("/.") + targetInfo.fileName() +
        QStringLiteral(".%1").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    const QByteArray nativeTemporary = QFile::encodeName(temporary);
    auto fail = [&](int code, bool created) {
        if (created)
            ::unlink(nativeTemporary.constData());
        if (error)
            *error = QStringLiteral("cannot write %1: %2").arg(path, systemText(code));
        return false;
    };

    const int fd = ::open(nativeTemporary.constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0)
        return fail(errno, false);
    struct stat existing {};
    if (::stat(QFile::encodeName(target).constData(), &existing) == 0 && S_ISREG(existing.st_mode))
        ::fchmod(fd, existing.st_mode & 07777);
    // A full disk shows up in write() or, for delayed allocation, only in fsync().
    if (!writeAll(fd, bytes) || ::fsync(fd) != 0) {
        const int code = errno;
        ::close(fd);
        return fail(code, true);
    }
    if (::close(fd) != 0)
        return fail(errno, true);
    if (::rename(nativeTemporary.constData(), QFile::encodeName(target).constData()) != 0)
        return fail(errno, true);
    return true;
}

} // namespace marten
