#include "support/TestEnv.h"

#include "core/OnboardingFlow.h"
#include "ui/NavigationControls.h"

#include <QDir>
#include <QFile>

namespace marten::test {

static Platform& prepared(fake::Services& services, bool signedIn, bool inputAccess)
{
    services.probe.granted = inputAccess;
    services.platform.assets.homeDir = QDir::homePath();
    const QString account = QDir::homePath() + "/.marten_auth_local.json";
    QFile::remove(account);
    if (signedIn)
        writeFile(account, "{\"token\":\"t\"}");
    return services.platform;
}

OnboardingRun::OnboardingRun(Variant variant, bool signedIn, bool inputAccess)
    : window(variant, prepared(services, signedIn, inputAccess))
{
    window.configureAndShow();
    ready = QTest::qWaitForWindowActive(&window) && window.closeButton()->isVisible() &&
            QTest::qWaitFor([this] { return !window.flow().isLoading(); });
}

} // namespace marten::test
