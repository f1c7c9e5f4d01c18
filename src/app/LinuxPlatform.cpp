#include "app/LinuxPlatform.h"

#include "app/DesktopServices.h"
#include "platform/linux/EvdevInputAccessProbe.h"
#include "platform/linux/EvdevPushToTalkKeys.h"
#include "platform/linux/LazyMainAppBus.h"
#include "platform/linux/PkexecInputAccessGranter.h"
#include "platform/linux/PortalAccentColour.h"
#include "platform/linux/PrivateFolder.h"
#include "platform/linux/QSettingsStore.h"
#include "platform/linux/QtScheduler.h"
#include "platform/linux/XDGAutostart.h"

#include <QCoreApplication>

namespace marten {

namespace {

// pkexec as found when the build was configured (never looked up on PATH, where a user's own
// folder may come first) and the helper installed beside the program, each only when root
// alone controls it; without both, the panel shows the commands only.
PkexecInputAccessGranter trustedGranter()
{
    return PkexecInputAccessGranter(
        PkexecInputAccessGranter::trusted(QStringLiteral(MARTEN_PKEXEC_PATH)),
        PkexecInputAccessGranter::trusted(
            PkexecInputAccessGranter::helperBeside(QCoreApplication::applicationDirPath())));
}

// This user's private runtime folder, or a stand-in whose every write fails with the reason.
PrivateFolder privateFolder()
{
    Result<PrivateFolder> folder = PrivateFolder::forCurrentUser();
    return folder.ok() ? std::move(folder).value() : PrivateFolder::unavailable(folder.failure());
}

} // namespace

// Every service of a run, built in this order, and the Platform that names them.
struct LinuxPlatform::Services {
    Services(Console& lines, bool busAnswered, std::chrono::milliseconds busPatience)
        : console(lines), bus(console, scheduler, busPatience)
    {
        if (!busAnswered)
            bus.startUnavailable();
    }

    Console& console;
    QtScheduler scheduler;
    EvdevInputAccessProbe probe;
    PkexecInputAccessGranter granter = trustedGranter();
    QSettingsStore settings;
    XDGAutostart autostart = XDGAutostart::forCurrentProcess();
    DesktopURLOpener urls;
    LazyMainAppBus bus;
    const PrivateFolder staging = privateFolder();
    EvdevPushToTalkKeys pushToTalkKeys; // read only while the test step is on screen
    PortalAccentColour accent;
    Platform platform{.scheduler = scheduler,
                      .inputAccess = probe,
                      .inputAccessGranter = granter,
                      .settings = settings,
                      .bus = bus,
                      .assets = AssetPaths::forCurrentProcess(),
                      .console = console,
                      .autostart = autostart,
                      .urls = urls,
                      .staging = staging,
                      .pushToTalkKeys = &pushToTalkKeys};
};

LinuxPlatform::LinuxPlatform(Console& console, bool busAnswered,
                             std::chrono::milliseconds busPatience)
    : m_services(std::make_unique<Services>(console, busAnswered, busPatience))
{
}

LinuxPlatform::~LinuxPlatform() = default;

Platform& LinuxPlatform::platform()
{
    return m_services->platform;
}

AccentColourSource& LinuxPlatform::accentColour()
{
    return m_services->accent;
}

bool LinuxPlatform::isWaitingForBus() const
{
    return m_services->bus.isWaitingForBus() || m_services->accent.isWaitingForBus();
}

} // namespace marten
