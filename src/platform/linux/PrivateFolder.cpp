#include "platform/linux/PrivateFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace marten {
namespace {

const QString kFolderName = QStringLiteral("marten-onboarding");

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Why a folder with this status is not private to `owner`, or an empty string when it is.
QString privacyProblem(const struct stat& st, uid_t owner)
{
    if (S_ISLNK(st.st_mode))
        return QStringLiteral("is a symbolic link");
    if (!S_ISDIR(st.st_mode))
        return QStringLiteral("is not a directory");
    if (st.st_uid != owner)
        return QStringLiteral("belongs to another user");
    if ((st.st_mode & (S_IRWXG | S_IRWXO)) != 0)
        return QStringLiteral("can be reached by other users");
    return {};
}

} // namespace

// The open folder, and the temporary folder it lives in when it is the fallback.
struct PrivateFolder::Handle {
    int fd = -1;
    QString path;
    std::shared_ptr<QTemporaryDir> fallback;

    Handle() = default;
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

PrivateFolder PrivateFolder::forCurrentUser()
{
    return acquire(qEnvironmentVariable("XDG_RUNTIME_DIR"), ::getuid());
}

std::shared_ptr<PrivateFolder::Handle> PrivateFolder::open(const QString& path, uid_t owner,
                                                           QString* why)
{
    auto handle = std::make_shared<Handle>();
    // O_NOFOLLOW refuses a link as the last component; O_NONBLOCK keeps a FIFO planted under
    // the name from holding up open(), and O_DIRECTORY then refuses it.
    handle->fd = ::open(QFile::encodeName(path).constData(),
                        O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (handle->fd < 0) {
        *why = errno == ELOOP ? QStringLiteral("is a symbolic link") : systemError(errno);
        return nullptr;
    }
    struct stat st {};
    *why = ::fstat(handle->fd, &st) != 0 ? systemError(errno) : privacyProblem(st, owner);
    if (!why->isEmpty())
        return nullptr;
    handle->path = path;
    return handle;
}

PrivateFolder PrivateFolder::acquire(const QString& runtimeDir, uid_t owner)
{
    PrivateFolder folder;
    QString why;
    if (!runtimeDir.isEmpty() && QDir::isAbsolutePath(runtimeDir)) {
        const QString path = QDir(runtimeDir).filePath(kFolderName);
        // mkdir() never follows a link at `path`; whatever is there is judged once opened.
        ::mkdir(QFile::encodeName(path).constData(), S_IRWXU);
        folder.m_dir = open(path, owner, &why);
        if (folder.m_dir)
            return folder;
    }

    static std::weak_ptr<QTemporaryDir> shared;
    std::shared_ptr<QTemporaryDir> temp = shared.lock();
    if (!temp || !temp->isValid() || !QFileInfo::exists(temp->path())) {
        // QTemporaryDir creates its folder with mode 0700 under a name nobody can guess.
        temp = std::make_shared<QTemporaryDir>(
            QDir::temp().filePath(kFolderName + QStringLiteral("-XXXXXX")));
        shared = temp;
    }
    if (!temp->isValid()) {
        folder.m_error = QStringLiteral("Cannot create a private folder: ") + temp->errorString();
        return folder;
    }
    // The fallback is ours whatever `owner` says: it was just made by this process.
    folder.m_dir = open(temp->path(), ::geteuid(), &why);
    if (!folder.m_dir) {
        folder.m_error =
            QStringLiteral("Cannot use the private folder %1: %2").arg(temp->path(), why);
        return folder;
    }
    folder.m_dir->fallback = temp;
    return folder;
}

QString PrivateFolder::path() const
{
    return m_dir ? m_dir->path : QString();
}

QString PrivateFolder::filePath(const QString& name) const
{
    return path() + QLatin1Char('/') + name;
}

bool PrivateFolder::writeFile(const QString& name, const QByteArray& bytes, QString* error) const
{
    auto fail = [&](int code) {
        if (error)
            *error =
                QStringLiteral("Cannot write \"%1\": %2").arg(filePath(name), systemError(code));
        return false;
    };
    if (!m_dir) {
        if (error)
            *error = m_error;
        return false;
    }
    const QByteArray native = QFile::encodeName(name);
    if (name.isEmpty() || native.contains('/'))
        return fail(EINVAL);
    // Whatever holds the name goes first (a link is removed, not followed); O_EXCL then
    // refuses anything that appears in its place before the file is created.
    if (::unlinkat(m_dir->fd, native.constData(), 0) != 0 && errno != ENOENT)
        return fail(errno);
    const int fd =
        ::openat(m_dir->fd, native.constData(),
                 O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (fd < 0)
        return fail(errno);
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int code = errno;
            ::close(fd);
            ::unlinkat(m_dir->fd, native.constData(), 0);
            return fail(code);
        }
        data += n;
        left -= n;
    }
    if (::close(fd) != 0) {
        const int code = errno;
        ::unlinkat(m_dir->fd, native.constData(), 0);
        return fail(code);
    }
    return true;
}

} // namespace marten
