#include "platform/linux/PrivateFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

namespace marten {
namespace {

const QString kFolderName = QStringLiteral("marten-onboarding");

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

PrivateFolder PrivateFolder::forCurrentUser()
{
    return acquire(qEnvironmentVariable("XDG_RUNTIME_DIR"), ::getuid());
}

bool PrivateFolder::isPrivate(const QString& path, uid_t owner, QString* why)
{
    auto refuse = [why](const QString& reason) {
        if (why)
            *why = reason;
        return false;
    };
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return refuse(systemError(errno));
    if (S_ISLNK(st.st_mode))
        return refuse(QStringLiteral("is a symbolic link"));
    if (!S_ISDIR(st.st_mode))
        return refuse(QStringLiteral("is not a directory"));
    if (st.st_uid != owner)
        return refuse(QStringLiteral("belongs to another user"));
    if ((st.st_mode & (S_IRWXG | S_IRWXO)) != 0)
        return refuse(QStringLiteral("can be reached by other users"));
    return true;
}

PrivateFolder PrivateFolder::acquire(const QString& runtimeDir, uid_t owner)
{
    PrivateFolder folder;
    if (!runtimeDir.isEmpty() && QDir::isAbsolutePath(runtimeDir)) {
        const QString path = QDir(runtimeDir).filePath(kFolderName);
        // mkdir() never follows a link at `path`; an existing object is judged below.
        ::mkdir(QFile::encodeName(path).constData(), S_IRWXU);
        if (isPrivate(path, owner)) {
            folder.m_path = path;
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
    if (!temp->isValid()) {
        folder.m_error = QStringLiteral("Cannot create a private folder: ") + temp->errorString();
        return folder;
    }
    folder.m_path = temp->path();
    folder.m_fallback = temp;
    return folder;
}

QString PrivateFolder::filePath(const QString& name) const
{
    return m_path + QLatin1Char('/') + name;
}

} // namespace marten
