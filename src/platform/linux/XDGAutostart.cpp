#include "platform/linux/XDGAutostart.h"

#include "platform/linux/FileReplace.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace marten {
namespace {
const QString kEntryName = QStringLiteral("com.marten.Marten.desktop");
const QString kMainAppName = QStringLiteral("marten");

bool isExecutableFile(const QString& path)
{
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable();
}
} // namespace

XDGAutostart::XDGAutostart(QString configHome, QString executableDir, QString searchPath)
    : m_configHome(std::move(configHome)), m_executableDir(std::move(executableDir)),
      m_searchPath(std::move(searchPath))
{
}

XDGAutostart XDGAutostart::forCurrentProcess()
{
    return XDGAutostart(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation),
                        QCoreApplication::applicationDirPath(), qEnvironmentVariable("PATH"));
}

QString XDGAutostart::entryPath() const
{
    return m_configHome + QStringLiteral("/autostart/") + kEntryName;
}

QString XDGAutostart::findMainApp() const
{
    const QString beside = m_executableDir + QLatin1Char('/') + kMainAppName;
    if (!m_executableDir.isEmpty() && isExecutableFile(beside))
        return QFileInfo(beside).absoluteFilePath();
    const QStringList dirs = m_searchPath.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString& dir : dirs) {
        // Relative PATH entries would make the entry depend on the login's working folder.
        if (!QDir::isAbsolutePath(dir))
            continue;
        const QString candidate = dir + QLatin1Char('/') + kMainAppName;
        if (isExecutableFile(candidate))
            return QFileInfo(candidate).absoluteFilePath();
    }
    return {};
}

QString XDGAutostart::quoteExecArgument(const QString& argument)
{
    // Inside double quotes, ", `, $ and \ take a backslash; then the whole value is a
    // Desktop Entry string, in which a backslash is itself written twice. % is doubled.
    QString quoted;
    for (const QChar c : argument) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$'))
            quoted += QStringLiteral("\\\\") + c;
        else if (c == QLatin1Char('\\'))
            quoted += QStringLiteral("\\\\\\\\");
        else if (c == QLatin1Char('%'))
            quoted += QStringLiteral("%%");
        else
            quoted += c;
    }
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString XDGAutostart::desktopEntry(const QString& executable)
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Marten\n"
                          "Comment=Push-to-talk dictation\n"
                          "Exec=%1\n"
                          "Terminal=false\n"
                          "X-GNOME-Autostart-enabled=true\n")
        .arg(quoteExecArgument(executable));
}

Result<> XDGAutostart::registerMainApp()
{
    if (m_configHome.isEmpty())
        return Failure{QStringLiteral("no configuration folder is known for this user")};
    const QString executable = findMainApp();
    if (executable.isEmpty())
        return Failure{QStringLiteral("the main application \"marten\" was not found beside the "
                                      "onboarding or on PATH")};
    // Control characters cannot be written to an entry at all, and a % is one that GLib
    // refuses to launch however it is escaped.
    for (const QChar c : executable) {
        if (c.category() == QChar::Other_Control || c == QLatin1Char('%'))
            return Failure{QStringLiteral("the main application's path cannot be written to an "
                                          "autostart entry")};
    }
    if (Result<> made = makeFolders(m_configHome + QStringLiteral("/autostart")); !made.ok())
        return made;
    return replaceFile(entryPath(), desktopEntry(executable).toUtf8());
}

} // namespace marten
