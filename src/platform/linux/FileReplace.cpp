#include "platform/linux/FileReplace.h"

#include "core/Posix.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <ctime>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace marten {
namespace {

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

// How long a leftover must have been left alone before it is taken for a dead run's.
constexpr time_t kLeftoverAge = 60;

bool isStale(const struct stat& st)
{
    return st.st_uid == ::geteuid() && std::time(nullptr) - st.st_mtime > kLeftoverAge;
}

bool matches(const char* name, const QByteArray& prefix, int suffixLength, const char* alphabet)
{
    const size_t length = std::strlen(name);
    if (length != size_t(prefix.size()) + size_t(suffixLength) ||
        std::strncmp(name, prefix.constData(), size_t(prefix.size())) != 0)
        return false;
    return std::strspn(name + prefix.size(), alphabet) == size_t(suffixLength);
}

// Removes the regular files of ours in the folder `name` (inside `parent`), then the folder
// itself, which fails harmlessly when anything else is in it.
void removeLeftoverFolder(int parent, const char* name)
{
    const int fd = ::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return;
    if (DIR* dir = ::fdopendir(fd)) {
        while (const dirent* entry = ::readdir(dir)) {
            struct stat st {};
            if (::fstatat(fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
                S_ISREG(st.st_mode) && st.st_uid == ::geteuid())
                ::unlinkat(fd, entry->d_name, 0);
        }
        ::closedir(dir);
    } else {
        ::close(fd);
    }
    ::unlinkat(parent, name, AT_REMOVEDIR);
}

} // namespace

void removeLeftovers(const QString& folder, const QByteArray& prefix, int suffixLength,
                     const char* alphabet)
{
    const int fd = ::open(QFile::encodeName(folder).constData(),
                          O_RDONLY | O_DIRECTORY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return;
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return;
    }
    while (const dirent* entry = ::readdir(dir)) {
        struct stat st {};
        if (!matches(entry->d_name, prefix, suffixLength, alphabet) ||
            ::fstatat(fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !isStale(st))
            continue;
        if (S_ISREG(st.st_mode))
            ::unlinkat(fd, entry->d_name, 0);
        else if (S_ISDIR(st.st_mode))
            removeLeftoverFolder(fd, entry->d_name);
    }
    ::closedir(dir);
}

Result<> makeFolders(const QString& folder)
{
    // Each missing folder from the top down; one that appears meanwhile is as good.
    const QString clean = QDir::cleanPath(folder);
    qsizetype next = clean.startsWith(QLatin1Char('/')) ? 1 : 0;
    while (next >= 0) {
        next = clean.indexOf(QLatin1Char('/'), next + 1);
        const QString part = next < 0 ? clean : clean.left(next);
        const QByteArray native = QFile::encodeName(part);
        struct stat st {};
        if (::stat(native.constData(), &st) == 0 && S_ISDIR(st.st_mode))
            continue;
        if (::mkdir(native.constData(), 0777) != 0 && errno != EEXIST)
            return posix::failure(QStringLiteral("cannot create %1").arg(part), errno);
        if (::stat(native.constData(), &st) != 0 || !S_ISDIR(st.st_mode))
            return posix::failure(QStringLiteral("cannot create %1").arg(part), ENOTDIR);
    }
    return {};
}

Result<> replaceFile(const QString& path, const QByteArray& bytes)
{
    const QString target = resolveLinks(path);
    const QFileInfo targetInfo(target);
    // The name below is "." + the file's name + "." + eight lowercase hex digits.
    removeLeftovers(
        targetInfo.absolutePath(),
        QFile::encodeName(QStringLiteral(".") + targetInfo.fileName() + QStringLiteral(".")), 8,
        "0123456789abcdef");
    const QString temporary =
        targetInfo.absolutePath() + QStringLiteral("/.") + targetInfo.fileName() +
        QStringLiteral(".%1").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    const QByteArray nativeTemporary = QFile::encodeName(temporary);
    auto fail = [&](int code, bool created) {
        if (created)
            ::unlink(nativeTemporary.constData());
        return posix::failure(QStringLiteral("cannot write %1").arg(path), code);
    };

    const int fd = ::open(nativeTemporary.constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0)
        return fail(errno, false);
    struct stat existing {};
    if (::stat(QFile::encodeName(target).constData(), &existing) == 0 && S_ISREG(existing.st_mode))
        ::fchmod(fd, existing.st_mode & 07777);
    // A full disk shows up in write() or, for delayed allocation, only in fsync().
    if (!posix::writeAll(fd, bytes) || ::fsync(fd) != 0) {
        const int code = errno;
        ::close(fd);
        return fail(code, true);
    }
    if (::close(fd) != 0)
        return fail(errno, true);
    if (::rename(nativeTemporary.constData(), QFile::encodeName(target).constData()) != 0)
        return fail(errno, true);
    return {};
}

} // namespace marten
