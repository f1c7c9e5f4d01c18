#include "app/Application.h"

#include "app/OnboardingWindow.h"
#include "app/Translations.h"
#include "media/AssetLookup.h"
#include "platform/Platform.h"
#include "platform/linux/InputAccessProbe.h"
#include "platform/linux/LazyNotificationCenter.h"
#include "platform/linux/QtAppControl.h"
#include "platform/linux/QtScheduler.h"
#include "platform/linux/SettingsDefaults.h"
#include "platform/linux/SettingsLinkHandler.h"
#include "platform/linux/StdoutConsole.h"
#include "platform/linux/XdgAutostart.h"
#include "ui/Theme.h"

#include <QApplication>
#include <QDir>
#include <QLocale>
#include <QTranslator>

namespace marten {

int runOnboarding(Variant variant, int argc, char** argv, const RunHooks* hooks)
{
    StdoutConsole console;
    console.line(QStringLiteral("Starting MartenOnboarding..."));
    {
        QApplication app(argc, argv);
        QApplication::setOrganizationName(QStringLiteral("Marten"));
        QApplication::setApplicationName(QStringLiteral("Marten"));
        QApplication::setApplicationDisplayName(QStringLiteral("Marten"));
        QApplication::setDesktopFileName(variant == Variant::Full
                                             ? QStringLiteral("com.marten.Onboarding")
                                             : QStringLiteral("com.marten.OnboardingSimple"));
        QApplication::setQuitOnLastWindowClosed(true);
        theme::apply(app);
        // The fixed texts are translation keys; with no translation for the user's
        // language they show as written.
        QTranslator translator;
        if (loadTranslation(translator, QLocale()))
            QApplication::installTranslator(&translator);

        QtScheduler scheduler;
        InputAccessProbe probe;
        SettingsDefaults defaults;
        XdgAutostart loginItem = XdgAutostart::forCurrentProcess();
        QtAppControl appControl;
        DesktopUrlOpener urls;
        LazyNotificationCenter notifications(console);
        Platform platform{scheduler,       probe,      defaults,
                          loginItem,       appControl, urls,
                          notifications,   console,    AssetPaths::forCurrentProcess(),
                          QDir::homePath()};

        OnboardingWindow window(variant, platform);
        if (hooks && hooks->windowCreated)
            hooks->windowCreated(window);
        // Linux has no settings page for input access: its link opens our own panel.
        SettingsLinkHandler settingsLinks(scheduler, probe, &window);
        window.configureAndShow();
        QApplication::exec();
    }
    console.line(QStringLiteral("MartenOnboarding main() completed"));
    return 0;
}

} // namespace marten
