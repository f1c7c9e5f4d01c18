#include "platform/linux/QSettingsStore.h"

#include "core/RegularFile.h"
#include "platform/linux/FileReplace.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>

namespace marten {
namespace {

enum class Merge { Done, NotParsed, Failed };

// `current` with `flags` set, written exactly as QSettings writes it. QSettings itself
// parses and writes, on a copy in a private temporary folder, so the result is what the
// main application's QSettings would have made of the same change.
Merge mergeFlags(const QByteArray& current, const QMap<QString, bool>& flags, QByteArray* out)
{
    const QTemporaryDir scratch;
    if (!scratch.isValid())
        return Merge::Failed;
    const QString copyPath = scratch.filePath(QStringLiteral("Marten.conf"));
    if (!replaceFile(copyPath, current, nullptr))
        return Merge::Failed;
    QSettings copy(copyPath, QSettings::IniFormat);
    if (copy.status() == QSettings::FormatError)
        return Merge::NotParsed;
    for (auto it = flags.cbegin(); it != flags.cend(); ++it)
        copy.setValue(it.key(), it.value());
    // QSettings may only parse the file when it syncs; it then writes the copy all the same,
    // without the lines it could not read, and says so only here.
    copy.sync();
    if (copy.status() == QSettings::FormatError)
        return Merge::NotParsed;
    if (copy.status() != QSettings::NoError)
        return Merge::Failed;
    const FileContents merged = readRegularFile(copyPath, QSettingsStore::maxFileSize);
    if (!merged.ok())
        return Merge::Failed;
    *out = merged.bytes;
    return Merge::Done;
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

bool QSettingsStore::setFlags(const QMap<QString, bool>& flags, QString* error)
{
    auto fail = [error](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };
    if (!QDir::isAbsolutePath(m_path))
        return fail(QStringLiteral("no configuration folder is known for this user"));
    const QString folder = QFileInfo(m_path).absolutePath();
    if (!QDir().mkpath(folder))
        return fail(QStringLiteral("cannot write %1").arg(m_path));

    // The lock QSettings takes for its own writes. A held lock, or something that is no lock
    // at all under that name, is given up on after the patience runs out.
    QLockFile lock(m_path + QStringLiteral(".lock"));
    errno = 0;
    if (!lock.tryLock(static_cast<int>(m_lockPatience.count()))) {
        // QLockFile only tells "held" from "could not be made"; for the latter (a full disk,
        // a read-only folder) the failing call's errno is the best words there are.
        const int code = errno;
        if (lock.error() == QLockFile::LockFailedError)
            return fail(QStringLiteral("%1 is locked by another program").arg(m_path));
        return fail(QStringLiteral("cannot write %1: %2")
                        .arg(m_path, code != 0 ? QString::fromLocal8Bit(std::strerror(code))
                                               : QStringLiteral("cannot create its lock")));
    }

    FileContents current = readRegularFile(m_path, maxFileSize);
    if (!current.ok() && current.problem != FileContents::Problem::Missing)
        return fail(QStringLiteral("cannot read %1: %2").arg(m_path, current.reason()));

    QByteArray merged;
    switch (mergeFlags(current.bytes, flags, &merged)) {
    case Merge::Done:
        break;
    case Merge::NotParsed:
        return fail(QStringLiteral("%1 is not a valid settings file").arg(m_path));
    case Merge::Failed:
        return fail(QStringLiteral("cannot write %1").arg(m_path));
    }
    QString reason;
    if (!replaceFile(m_path, merged, &reason))
        return fail(reason);
    return true;
}

} // namespace marten
