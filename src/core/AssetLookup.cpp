#include "core/AssetLookup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <sys/stat.h>

namespace marten {
namespace {

// Existence only: any file-system object counts, including a directory. stat() resolves
// ".." through the real folders, as the file system does.
bool exists(const QString& path)
{
    struct stat st {};
    return !path.isEmpty() && ::stat(QFile::encodeName(path).constData(), &st) == 0;
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

    if (!paths.resourceDir.isEmpty() && !name.isEmpty()) {
        const QString inResources = join(paths.resourceDir, name);
        if (exists(inResources))
            return QUrl::fromLocalFile(inResources);
        const QString inAssets = join(paths.resourceDir, QStringLiteral("assets/") + name);
        if (exists(inAssets))
            return QUrl::fromLocalFile(inAssets);
    }
    for (const QString& candidate : {home, besideExecutable, bundleResources}) {
        if (exists(candidate))
            return QUrl::fromLocalFile(candidate);
    }
    return std::nullopt;
}

} // namespace marten
