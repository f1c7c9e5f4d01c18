#include "core/AssetLookup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <sys/stat.h>

namespace marten {
namespace {

enum class Candidate { Absent, Usable, Unusable };

// Anything at `path` decides the search: a regular file within the cap is used; a folder, a
// FIFO, a device or an oversized file is not, and hides the places after it all the same.
// stat() resolves links and ".." through the real folders, as the file system does.
Candidate judge(const QString& path)
{
    struct stat st {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &st) != 0)
        return Candidate::Absent;
    if (!S_ISREG(st.st_mode) || st.st_size > maxAssetSize)
        return Candidate::Unusable;
    return Candidate::Usable;
}

// Appends a relative path to a base folder without normalising it.
QString join(const QString& base, const QString& relative)
{
    if (base.isEmpty() || base.endsWith(QLatin1Char('/')))
        return base + relative;
    return base + QLatin1Char('/') + relative;
}

// The folder part of `path`, keeping it relative when it is relative.
QString parentOf(const QString& path)
{
    QString p = path;
    while (p.size() > 1 && p.endsWith(QLatin1Char('/')))
        p.chop(1);
    // Cutting off "." or ".." would name the wrong folder ("/a/b/.." is "/a", not "/a/b");
    // step up through the file system instead.
    if (p == QLatin1String(".") || p == QLatin1String("..") || p.endsWith(QLatin1String("/.")) ||
        p.endsWith(QLatin1String("/..")))
        return p + QStringLiteral("/..");
    const qsizetype slash = p.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return QStringLiteral(".");
    if (slash == 0)
        return QStringLiteral("/");
    return p.left(slash);
}

QString absoluteFromCwd(const QString& path)
{
    return QDir::isAbsolutePath(path) ? path : join(QDir::currentPath(), path);
}

} // namespace

AssetPaths AssetPaths::forCurrentProcess()
{
    AssetPaths paths;
    paths.homeDir = QDir::homePath();
    const QStringList args = QCoreApplication::arguments();
    paths.argv0 = args.isEmpty() ? QString() : args.constFirst();
    paths.resourceDir =
        QCoreApplication::applicationDirPath() + QStringLiteral("/../" MARTEN_DATA_SUBDIR);
    return paths;
}

std::optional<QUrl> findAssetURL(const QString& name, const AssetPaths& paths)
{
    // The candidate locations are formed before anything is tested.
    QString home;
    QString besideExecutable;
    QString bundleResources;
    if (!paths.homeDir.isEmpty())
        home = join(paths.homeDir, QStringLiteral("Documents/voice_to_text/assets/") + name);
    if (!paths.argv0.isEmpty()) {
        const QString exeDir = parentOf(absoluteFromCwd(paths.argv0));
        besideExecutable = join(exeDir, QStringLiteral("../assets/") + name);
        bundleResources = join(parentOf(exeDir), QStringLiteral("Resources/assets/") + name);
    }

    QString inResources;
    QString inAssets;
    if (!paths.resourceDir.isEmpty() && !name.isEmpty()) {
        inResources = join(paths.resourceDir, name);
        inAssets = join(paths.resourceDir, QStringLiteral("assets/") + name);
    }
    for (const QString& candidate :
         {inResources, inAssets, home, besideExecutable, bundleResources}) {
        switch (judge(candidate)) {
        case Candidate::Absent:
            continue;
        case Candidate::Usable:
            return QUrl::fromLocalFile(candidate);
        case Candidate::Unusable:
            return std::nullopt;
        }
    }
    return std::nullopt;
}

QUrl sharperTwin(const QUrl& found, qreal devicePixelRatio)
{
    if (devicePixelRatio <= 1 || !found.isLocalFile())
        return found;
    const QString path = found.toLocalFile();
    // "@2x" goes before the suffix of the file's name, or at its end when there is none.
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    const qsizetype at = dot > path.lastIndexOf(QLatin1Char('/')) + 1 ? dot : path.size();
    const QString twin = path.left(at) + QStringLiteral("@2x") + path.mid(at);
    return judge(twin) == Candidate::Usable ? QUrl::fromLocalFile(twin) : found;
}

} // namespace marten
