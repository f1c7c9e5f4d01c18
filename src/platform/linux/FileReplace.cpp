#include "platform/linux/FileReplace.h"

#include "core/Posix.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
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

// Whether every entry of the folder `name` (inside `parent`) is a regular file of ours named
// as one of `inside`; if so, removes them and then the folder. A folder that holds anything
// else (a subfolder, a link, a file by another name) is left whole.
void removeLeftoverFolder(int parent, const char* name, const QList<OwnName>& inside)
{
    const int fd = ::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return;
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return;
    }
    QList<QByteArray> ours;
    bool onlyOurs = true;
    while (const dirent* entry = ::readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
            continue;
        struct stat st {};
        const auto named = [entry](const OwnName& own) { return own.matches(entry->d_name); };
        onlyOurs = ::fstatat(fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
                   S_ISREG(st.st_mode) && st.st_uid == ::geteuid() &&
                   std::any_of(inside.begin(), inside.end(), named);
        if (!onlyOurs)
            break;
        ours.append(QByteArray(entry->d_name));
    }
    if (onlyOurs) {
        for (const QByteArray& file : ours)
            ::unlinkat(fd, file.constData(), 0);
        // Fails harmlessly when something came in meanwhile.
        ::unlinkat(parent, name, AT_REMOVEDIR);
    }
    ::closedir(dir);
}

// Gives the unnamed file open as `fd` the name `path`. linkat through /proc needs no
// privilege; the empty path is the fallback where /proc is not mounted.
bool linkUnnamed(int fd, const QByteArray& path)
{
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
    if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, path.constData(), AT_SYMLINK_FOLLOW) == 0)
        return true;
    return errno == ENOENT && ::linkat(fd, "", AT_FDCWD, path.constData(), AT_EMPTY_PATH) == 0;
}

} // namespace

bool OwnName::matches(const char* name) const
{
    const size_t length = std::strlen(name);
    if (length != size_t(prefix.size()) + size_t(randomLength) ||
        std::strncmp(name, prefix.constData(), size_t(prefix.size())) != 0)
        return false;
    return std::strspn(name + prefix.size(), alphabet) == size_t(randomLength);
}

OwnName replacementName(const QString& fileName)
{
    return {QFile::encodeName(QStringLiteral(".") + fileName + QStringLiteral(".marten-save-")), 8,
            "0123456789abcdef"};
}

void removeLeftovers(const QString& folder, const OwnName& name, const QList<OwnName>& inside)
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
        if (!name.matches(entry->d_name) ||
            ::fstatat(fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !isStale(st))
            continue;
        if (S_ISREG(st.st_mode))
            ::unlinkat(fd, entry->d_name, 0);
        else if (S_ISDIR(st.st_mode))
            removeLeftoverFolder(fd, entry->d_name, inside);
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
    const QString folder = targetInfo.absolutePath();
    const OwnName own = replacementName(targetInfo.fileName());
    removeLeftovers(folder, own);
    const QByteArray nativeTemporary =
        QFile::encodeName(folder) + '/' + own.prefix +
        QByteArray::number(QRandomGenerator::global()->generate(), 16).rightJustified(8, '0');
    bool named = false;
    auto fail = [&](int code) {
        if (named)
            ::unlink(nativeTemporary.constData());
        return posix::failure(QStringLiteral("cannot write %1").arg(path), code);
    };

    // An unnamed file first; a file system without them (EOPNOTSUPP, or EISDIR from a kernel
    // that does not know O_TMPFILE) gets a named one.
    int fd = ::open(QFile::encodeName(folder).constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR)) {
        fd = ::open(nativeTemporary.constData(),
                    O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        named = fd >= 0;
    }
    if (fd < 0)
        return fail(errno);
    struct stat existing {};
    if (::stat(QFile::encodeName(target).constData(), &existing) == 0 && S_ISREG(existing.st_mode))
        ::fchmod(fd, existing.st_mode & 07777);
    // A full disk shows up in write() or, for delayed allocation, only in fsync().
    if (!posix::writeAll(fd, bytes) || ::fsync(fd) != 0 ||
        (!named && !(named = linkUnnamed(fd, nativeTemporary)))) {
        const int code = errno;
        ::close(fd);
        return fail(code);
    }
    if (::close(fd) != 0)
        return fail(errno);
    if (::rename(nativeTemporary.constData(), QFile::encodeName(target).constData()) != 0)
        return fail(errno);
    return {};
}

} // namespace marten
