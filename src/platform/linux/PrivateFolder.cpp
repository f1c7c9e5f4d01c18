#include "platform/linux/PrivateFolder.h"

#include "core/Posix.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace marten {
namespace {

const QString kFolderName = QStringLiteral("marten-onboarding");

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

Result<PrivateFolder> PrivateFolder::forCurrentUser()
{
    return acquire(qEnvironmentVariable("XDG_RUNTIME_DIR"), ::getuid());
}

Result<std::shared_ptr<PrivateFolder::Handle>> PrivateFolder::open(const QString& path, uid_t owner)
{
    auto handle = std::make_shared<Handle>();
    // O_NOFOLLOW refuses a link as the last component; O_NONBLOCK keeps a FIFO planted under
    // the name from holding up open(), and O_DIRECTORY then refuses it.
    handle->fd = ::open(QFile::encodeName(path).constData(),
                        O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (handle->fd < 0) {
        const int code = errno;
        return Failure{code == ELOOP ? QStringLiteral("is a symbolic link") : posix::reason(code),
                       code};
    }
    struct stat st {};
    if (::fstat(handle->fd, &st) != 0)
        return Failure{posix::reason(errno), errno};
    if (const QString problem = privacyProblem(st, owner); !problem.isEmpty())
        return Failure{problem};
    handle->path = path;
    return handle;
}

PrivateFolder PrivateFolder::unavailable(Failure why)
{
    PrivateFolder folder;
    folder.m_unavailable = std::move(why);
    return folder;
}

Result<PrivateFolder> PrivateFolder::acquire(const QString& runtimeDir, uid_t owner)
{
    PrivateFolder folder;
    if (!runtimeDir.isEmpty() && QDir::isAbsolutePath(runtimeDir)) {
        const QString path = QDir(runtimeDir).filePath(kFolderName);
        // mkdir() never follows a link at `path`; whatever is there is judged once opened.
        ::mkdir(QFile::encodeName(path).constData(), S_IRWXU);
        if (Result<std::shared_ptr<Handle>> dir = open(path, owner); dir.ok()) {
            folder.m_dir = std::move(dir).value();
            return folder;
        }
    }

    static std::weak_ptr<QTemporaryDir> shared;
    std::shared_ptr<QTemporaryDir> temp = shared.lock();
    if (!temp || !temp->isValid() || !QFileInfo::exists(temp->path())) {
        // QTemporaryDir creates its folder with mode 0700 under a name nobody can guess.
        temp = std::make_shared<QTemporaryDir>(
            QDir::temp().filePath(kFolderName + QStringLiteral("-XXXXXX")));
        shared = temp;
    }
    if (!temp->isValid())
        return Failure{QStringLiteral("Cannot create a private folder: ") + temp->errorString()};
    // The fallback is ours whatever `owner` says: it was just made by this process.
    Result<std::shared_ptr<Handle>> dir = open(temp->path(), ::geteuid());
    if (!dir.ok())
        return Failure{
            QStringLiteral("Cannot use the private folder %1: %2").arg(temp->path(), dir.error()),
            dir.code()};
    folder.m_dir = std::move(dir).value();
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

QString PrivateFolder::cannotWrite(const QString& name) const
{
    return QStringLiteral("Cannot write \"%1\"").arg(filePath(name));
}

Result<int> PrivateFolder::create(const QString& name, const QByteArray& bytes) const
{
    auto fail = [&](int code) { return posix::failure(cannotWrite(name), code); };
    if (!m_dir)
        return m_unavailable.text.isEmpty() ? fail(EBADF) : m_unavailable;
    const QByteArray native = QFile::encodeName(name);
    if (name.isEmpty() || native.contains('/'))
        return fail(EINVAL);
    // Whatever holds the name goes first (a link is removed, not followed); O_EXCL then
    // refuses anything that appears in its place before the file is created.
    if (::unlinkat(m_dir->fd, native.constData(), 0) != 0 && errno != ENOENT)
        return fail(errno);
    const int fd = ::openat(m_dir->fd, native.constData(),
                            O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (fd < 0)
        return fail(errno);
    if (posix::writeAll(fd, bytes))
        return fd;
    const int code = errno;
    ::close(fd);
    ::unlinkat(m_dir->fd, native.constData(), 0);
    return fail(code);
}

Result<> PrivateFolder::writeFile(const QString& name, const QByteArray& bytes) const
{
    const Result<int> fd = create(name, bytes);
    if (!fd.ok())
        return fd.failure();
    if (::close(fd.value()) == 0)
        return {};
    const int code = errno;
    ::unlinkat(m_dir->fd, QFile::encodeName(name).constData(), 0);
    return posix::failure(cannotWrite(name), code);
}

Result<std::unique_ptr<QIODevice>> PrivateFolder::writeAndOpen(const QString& name,
                                                               const QByteArray& bytes) const
{
    const Result<int> fd = create(name, bytes);
    if (!fd.ok())
        return fd.failure();
    auto file = std::make_unique<QFile>();
    // Opened by descriptor, the device has no file name: nothing reopens the name later.
    if (::lseek(fd.value(), 0, SEEK_SET) != 0 ||
        !file->open(fd.value(), QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        const int code = errno;
        ::close(fd.value());
        return posix::failure(cannotWrite(name), code);
    }
    return std::unique_ptr<QIODevice>(std::move(file));
}

} // namespace marten
