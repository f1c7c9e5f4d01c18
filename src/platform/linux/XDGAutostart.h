#pragma once

#include "core/platform/Autostart.h"

#include <QString>

namespace marten {

// Launch at login through an XDG autostart entry for the main application `marten`,
// found beside the onboarding's executable or else on PATH.
class XDGAutostart final : public Autostart {
public:
    XDGAutostart(QString configHome, QString executableDir, QString searchPath);
    // From the environment of the running process.
    static XDGAutostart forCurrentProcess();

    Result<> registerMainApp() override;

    QString entryPath() const;
    // The absolute path of the main application, or empty when it cannot be found.
    QString findMainApp() const;

    static QString desktopEntry(const QString& executable);
    // Quotes one Exec argument as the Desktop Entry rules want it.
    static QString quoteExecArgument(const QString& argument);

private:
    QString m_configHome;
    QString m_executableDir;
    QString m_searchPath;
};

} // namespace marten
