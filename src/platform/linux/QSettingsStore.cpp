#include "platform/linux/QSettingsStore.h"

#include "core/Posix.h"
#include "core/RegularFile.h"
#include "platform/linux/FileReplace.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>
#include <QStandardPaths>

#include <cerrno>
#include <cstdlib>

#include <unistd.h>

namespace marten {
namespace {

const char kAlphanumeric[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
// The scratch folder of a merge, as mkdtemp names it, and what a merge puts in it: the copy,
// QSettings' lock and its own temporary file for the copy, and replaceFile's.
const OwnName kScratchFolder{".Marten.conf.marten-merge-", 6, kAlphanumeric};
const QList<OwnName> kInScratchFolder{{"Marten.conf"},
                                      {"Marten.conf.lock"},
                                      {"Marten.conf.", 6, kAlphanumeric},
                                      replacementName(QStringLiteral("Marten.conf"))};

// A folder of our own beside the settings file (0700, a name nobody can guess), removed with
// what is in it when the merge is over. It lives there rather than under TMPDIR, so a
// temporary folder that is read-only or full costs nothing, and a run killed half-way leaves
// it where the next save finds and removes it.
class ScratchFolder final {
public:
    explicit ScratchFolder(const QString& folder)
    {
        QByteArray name = QFile::encodeName(folder) + '/' + kScratchFolder.prefix + "XXXXXX";
        if (::mkdtemp(name.data()))
            m_path = QFile::decodeName(name);
        else
            m_error = errno;
    }
    ~ScratchFolder()
    {
        if (!m_path.isEmpty())
            QDir(m_path).removeRecursively();
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    bool isValid() const { return !m_path.isEmpty(); }
    int error() const { return m_error; }
    QString filePath(const QString& name) const { return m_path + QLatin1Char('/') + name; }

private:
    QString m_path;
    int m_error = 0;
};

// `current` with `flags` set, written exactly as QSettings writes it. QSettings itself
// parses and writes, on a copy in a scratch folder beside the settings file at `path`, so the
// result is what the main application's QSettings would have made of the same change.
Result<QByteArray> mergeFlags(const QString& path, const QByteArray& current,
                              const QMap<QString, bool>& flags)
{
    const QString cannotWrite = QStringLiteral("cannot write %1").arg(path);
    const Failure notParsed{QStringLiteral("%1 is not a valid settings file").arg(path)};
    // QSettings decodes every line as UTF-8 and writes back what it decoded, so a value in
    // another encoding (Latin-1 "M\xfcnchen") would come back with its bytes replaced.
    if (!current.isValidUtf8())
        return notParsed;
    const ScratchFolder scratch(QFileInfo(path).absolutePath());
    if (!scratch.isValid())
        return posix::failure(cannotWrite, scratch.error());
    const QString copyPath = scratch.filePath(QStringLiteral("Marten.conf"));
    if (const Result<> copied = replaceFile(copyPath, current); !copied.ok())
        return posix::failure(cannotWrite, copied.code());
    QSettings copy(copyPath, QSettings::IniFormat);
    if (copy.status() == QSettings::FormatError)
        return notParsed;
    for (auto it = flags.cbegin(); it != flags.cend(); ++it)
        copy.setValue(it.key(), it.value());
    // QSettings may only parse the file when it syncs; it then writes the copy all the same,
    // without the lines it could not read, and says so only here.
    errno = 0;
    copy.sync();
    const int code = errno;
    if (copy.status() == QSettings::FormatError)
        return notParsed;
    if (copy.status() != QSettings::NoError) {
        // QSettings keeps the reason to itself; the failing call's errno is the best there is.
        if (code != 0)
            return posix::failure(cannotWrite, code);
        return Failure{cannotWrite + QStringLiteral(": the copy could not be saved")};
    }
    Result<QByteArray> merged = readRegularFile(copyPath, QSettingsStore::maxFileSize);
    if (!merged.ok())
        return Failure{cannotWrite + QStringLiteral(": ") + merged.error(), merged.code()};
    return merged;
}

} // namespace

QSettingsStore::QSettingsStore()
    : QSettingsStore(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                     QStringLiteral("/Marten/Marten.conf"))
{
}

QSettingsStore::QSettingsStore(QString filePath, std::chrono::milliseconds lockPatience)
    : m_path(std::move(filePath)), m_lockPatience(lockPatience)
{
}

Result<> QSettingsStore::setFlags(const QMap<QString, bool>& flags)
{
    if (!QDir::isAbsolutePath(m_path))
        return Failure{QStringLiteral("no configuration folder is known for this user")};
    const QString folder = QFileInfo(m_path).absolutePath();
    if (const Result<> made = makeFolders(folder); !made.ok())
        return Failure{QStringLiteral("cannot write %1: %2").arg(m_path, made.error()),
                       made.code()};

    // The lock QSettings takes for its own writes. A held lock, or something that is no lock
    // at all under that name, is given up on after the patience runs out.
    QLockFile lock(m_path + QStringLiteral(".lock"));
    errno = 0;
    if (!lock.tryLock(static_cast<int>(m_lockPatience.count()))) {
        // QLockFile only tells "held" from "could not be made"; for the latter (a full disk,
        // a read-only folder) the failing call's errno is the best words there are.
        int code = errno;
        if (lock.error() == QLockFile::LockFailedError)
            return Failure{QStringLiteral("%1 is locked by another program").arg(m_path)};
        // A folder that cannot be written to (read-only, not ours) says so plainly.
        if (::access(QFile::encodeName(folder).constData(), W_OK) != 0)
            code = errno;
        if (code != 0)
            return posix::failure(QStringLiteral("cannot write %1").arg(m_path), code);
        return Failure{QStringLiteral("cannot write %1: cannot create its lock").arg(m_path)};
    }
    // Scratch folders of runs killed during a merge.
    removeLeftovers(folder, kScratchFolder, kInScratchFolder);

    const Result<QByteArray> current = readRegularFile(m_path, maxFileSize);
    if (!current.ok() && current.code() != ENOENT)
        return Failure{QStringLiteral("cannot read %1: %2").arg(m_path, current.error()),
                       current.code()};

    const Result<QByteArray> merged = mergeFlags(m_path, current.valueOr({}), flags);
    if (!merged.ok())
        return merged.failure();
    return replaceFile(m_path, merged.value());
}

} // namespace marten
