#include "app/Application.h"

#include "app/DesktopServices.h"
#include "app/OnboardingWindow.h"
#include "app/Translations.h"
#include "core/AssetLookup.h"
#include "core/platform/Platform.h"
#include "platform/linux/EvdevInputAccessProbe.h"
#include "platform/linux/LazyMainAppBus.h"
#include "platform/linux/QtAppControl.h"
#include "platform/linux/QtScheduler.h"
#include "platform/linux/QSettingsStore.h"
#include "platform/linux/StdoutConsole.h"
#include "platform/linux/XDGAutostart.h"
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
        EvdevInputAccessProbe probe;
        PanelInputAccessHelp inputAccessHelp(scheduler);
        QSettingsStore settings;
        XDGAutostart autostart = XDGAutostart::forCurrentProcess();
        QtAppControl appControl;
        DesktopURLOpener urls;
        LazyMainAppBus bus(console);
        Platform platform{scheduler, probe,   inputAccessHelp, settings,
                          autostart, appControl, urls,         bus,
                          console,   AssetPaths::forCurrentProcess(), QDir::homePath()};

        OnboardingWindow window(variant, platform);
        inputAccessHelp.attach(&window, &window.inputAccessWatcher());
        if (hooks && hooks->windowCreated)
            hooks->windowCreated(window);
        window.configureAndShow();
        QApplication::exec();
    }
    console.line(QStringLiteral("MartenOnboarding main() completed"));
    return 0;
}

} // namespace marten
