#include "app/Application.h"

#include "app/LinuxPlatform.h"
#include "app/OnboardingWindow.h"
#include "app/Translations.h"
#include "core/OnboardingFlow.h"
#include "core/platform/AccentColourSource.h"
#include "platform/linux/LazyMainAppBus.h"
#include "platform/linux/ProcessSetup.h"
#include "platform/linux/SessionBusProbe.h"
#include "platform/linux/StdoutConsole.h"
#include "ui/FirstPaint.h"
#include "ui/Theme.h"

#include <QApplication>
#include <QLocale>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>

namespace marten {

namespace {

// How long the session bus has to answer, at start and for every later connection.
constexpr std::chrono::seconds kBusPatience{2};

// The window's whole life. True when the process must leave without waiting for Qt's bus
// thread, which is stuck on a bus that never answered.
bool runWindow(Variant variant, int argc, char** argv, const RunHooks* hooks, Console& console,
               bool busAnswered)
{
    QApplication app(argc, argv);
    // Only X11 and Wayland have this bridge; other platforms' accessibility is another kind.
    if (QGuiApplication::platformName() == QLatin1String("xcb") ||
        QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        process::startAccessibilityBridge();
    QApplication::setOrganizationName(QStringLiteral("Marten"));
    const VariantTraits& traits = traitsFor(variant);
    QApplication::setApplicationName(QString::fromLatin1(traits.programName));
    QApplication::setApplicationDisplayName(QStringLiteral("Marten"));
    QApplication::setDesktopFileName(QString::fromLatin1(traits.desktopEntry));
    QApplication::setQuitOnLastWindowClosed(true);
    // A logout, Ctrl+C or kill ends the program as closing the window does.
    process::watchTerminationSignals(&app, [] { QCoreApplication::quit(); });
    theme::apply(app);
    // The fixed texts are translation keys; with no translation for the user's
    // language they show as written.
    QTranslator translator;
    if (loadTranslation(translator, QLocale()))
        QApplication::installTranslator(&translator);

    LinuxPlatform services(console, busAnswered, kBusPatience);
    // The desktop's accent colour arrives after the first frame, which shows the default.
    AccentColourSource& accent = services.accentColour();
    QObject::connect(&accent, &AccentColourSource::changed, &app, [](std::optional<quint32> rgb) {
        theme::setAccent(rgb ? QColor::fromRgb(*rgb) : QColor());
    });

    OnboardingWindow window(variant, services.platform());
    QObject::connect(&window.flow(), &OnboardingFlow::completed, &app, &QCoreApplication::quit);
    if (hooks && hooks->windowCreated)
        hooks->windowCreated(window);
    window.configureAndShow();
    if (busAnswered)
        afterFirstPaint(&window, [&accent] { accent.start(); });
    QApplication::exec();
    return services.isWaitingForBus();
}

} // namespace

int runOnboarding(Variant variant, int argc, char** argv, const RunHooks* hooks)
{
    // The console may be a pipe whose reader is gone ("| head"): its lines are lost then,
    // the program carries on.
    process::ignoreBrokenPipes();
    process::rememberStartEnvironment();
    if (!process::hasGraphicalSession(argc, argv)) {
        std::fputs("MartenOnboarding needs a graphical session: neither DISPLAY nor "
                   "WAYLAND_DISPLAY is set.\n",
                   stderr);
        return 1;
    }
    StdoutConsole console;
    if (const Result<> settled = process::settleEnvironment(); !settled.ok()) {
        console.line(QStringLiteral("MartenOnboarding cannot start: ") + settled.error());
        return 1;
    }
    process::catchTerminationSignals();
    console.line(QStringLiteral("Starting MartenOnboarding..."));
    // Qt's accessibility bridge reaches for the session bus and then the accessibility bus
    // by itself, on the main thread and with no limit. Both are looked at now, within the
    // same limit, and a bus that does not answer is left out of the whole run. Where
    // accessibility is asked for and its bus answers, Qt is handed that bus as checked, so the
    // bridge never asks the session bus; where it is not asked for, the bridge stays off.
    const process::BusProbe buses = process::probeBuses(kBusPatience);
    const bool busAnswered = buses.sessionAnswered;
    using Accessibility = process::BusProbe::Accessibility;
    if (!busAnswered) {
        console.line(LazyMainAppBus::unavailableLine(kBusPatience));
        process::forgetSessionBus();
    } else if (buses.accessibility == Accessibility::Silent) {
        console.line(
            QStringLiteral("Accessibility off: the accessibility bus did not answer within %1 s")
                .arg(kBusPatience.count()));
        process::forgetAccessibilityBus();
    } else if (buses.accessibility == Accessibility::Answered &&
               (buses.accessibilityWanted ||
                qEnvironmentVariableIsSet("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"))) {
        process::useAccessibilityBus(buses.accessibilityAddress);
    } else {
        process::forgetAccessibilityBus();
    }
    const bool busStuck = runWindow(variant, argc, argv, hooks, console, busAnswered);
    console.line(QStringLiteral("MartenOnboarding main() completed"));
    if (busStuck) {
        // Everything of ours is already torn down; only Qt's bus thread is left, and the
        // normal exit would wait for it for good.
        std::fflush(nullptr);
        std::_Exit(0);
    }
    return 0;
}

} // namespace marten
