#include "core/OnboardingFlow.h"

#include "core/InputAccessStep.h"
#include "core/TestItState.h"
#include "core/platform/Autostart.h"
#include "core/platform/Console.h"
#include "core/platform/InputAccessProbe.h"
#include "core/platform/MainAppBus.h"
#include "core/platform/Platform.h"
#include "core/platform/SettingsStore.h"
#include "core/platform/URLOpener.h"

#include <QPromise>
#include <QThreadPool>
#include <QUrl>

#include <algorithm>
#include <memory>

namespace marten {

namespace {
using namespace std::chrono_literals;
// The service's API host for the browser sign-in of the simple program.
const QString kServiceApiHost = QStringLiteral("api.marten.app");
constexpr auto kAdvanceAfterRequest = 1s;
constexpr auto kCompleteWithoutSteps = 3s;
// The longest the steps wait for the bus to confirm that the sign-in notice is listened for.
constexpr auto kListenPatience = 2s;
} // namespace

OnboardingFlow::OnboardingFlow(StepTable table, Variant variant, Platform& platform,
                               QObject* parent)
    : QObject(parent), m_table(table), m_traits(traitsFor(variant)), m_platform(platform),
      m_account(variant, platform.assets.homeDir, platform.console),
      m_link(platform.bus, platform.console), m_testIt(new TestItState(this)),
      m_inputAccess(new InputAccessStep(platform.scheduler, platform.inputAccess,
                                        platform.inputAccessGranter, this))
{
    connect(m_inputAccess, &InputAccessStep::advanceRequested, this, &OnboardingFlow::nextStep);
    connect(m_inputAccess, &InputAccessStep::helpRequested, this,
            &OnboardingFlow::inputAccessHelpRequested);
    connect(&m_decision, &QFutureWatcherBase::finished, this, [this] {
        m_decisionReady = true;
        applyDecisionWhenListening();
    });
}

OnboardingFlow::~OnboardingFlow()
{
    // The decision only reads files; let it finish rather than leave it holding references.
    m_decision.disconnect(this);
    m_decision.waitForFinished();
}

void OnboardingFlow::start()
{
    if (m_started)
        return;
    m_started = true;

    // The decision only reads (the input-access probe and the account files), so it runs
    // off the main thread; its result comes back through the watcher on the main thread.
    auto promise = std::make_shared<QPromise<StepDecision>>();
    m_decision.setFuture(promise->future());
    const StepTable table = m_table;
    const Variant variant = m_traits.variant;
    const InputAccessProbe& probe = m_platform.inputAccess;
    const AccountChecks account = m_account;
    QThreadPool::globalInstance()->start([promise, table, variant, &probe, account] {
        promise->start();
        promise->addResult(decideSteps(table, variant, probe, account));
        promise->finish();
    });

    if (m_traits.signInViaMainApp) {
        // A notice sent once the steps show must not be missed, so the steps wait for the
        // subscription, but no longer than the bus's own limit.
        m_listening = false;
        const auto listening = [this] {
            if (m_listening)
                return;
            m_listening = true;
            m_platform.scheduler.cancel(m_listenLimit);
            applyDecisionWhenListening();
        };
        m_listenLimit = m_platform.scheduler.after(kListenPatience, this, listening);
        // Neither waits for the bus: the connection is made on a thread of its own.
        m_link.observeAuthCompletion(this, [this] { handleAuthCompleted(); });
        m_platform.bus.whenListening(this, listening);
    }
}

void OnboardingFlow::applyDecisionWhenListening()
{
    if (m_decisionReady && m_listening)
        applyDecision(m_decision.result());
}

const StepRow* OnboardingFlow::currentStep() const
{
    if (m_isLoading || m_currentStepIndex < 0 || m_currentStepIndex >= m_steps.size())
        return nullptr;
    return m_steps.at(m_currentStepIndex);
}

bool OnboardingFlow::onInputAccessStep() const
{
    const StepRow* step = currentStep();
    return step && step->need == StepNeed::inputAccess;
}

std::optional<StepButtonChoice> OnboardingFlow::currentStepButton() const
{
    const StepRow* step = currentStep();
    if (!step)
        return std::nullopt;
    const bool isLast = m_currentStepIndex == m_steps.size() - 1;
    const bool granted = onInputAccessStep() && m_inputAccess->isGranted();
    return stepButtonFor(m_traits, *step, isLast, granted);
}

void OnboardingFlow::applyDecision(const StepDecision& decision)
{
    if (decision.completeWithoutSteps) {
        m_isLoading = true;
        m_platform.scheduler.after(kCompleteWithoutSteps, this, [this] { completeFTUE(); });
        return;
    }
    m_steps = decision.steps;
    m_isLoading = false;
    m_platform.console.line(QStringLiteral("FTUE will show %1 steps").arg(m_steps.size()));
    followInputAccessStep();
    emit stepsDecided();
}

void OnboardingFlow::nextStep()
{
    setIndex(m_currentStepIndex + 1, true);
}

void OnboardingFlow::previousStep()
{
    // Two quick activations could arrive before the Back control is gone.
    if (m_currentStepIndex <= 0)
        return;
    setIndex(m_currentStepIndex - 1, true);
}

void OnboardingFlow::setIndex(qint64 index, bool animated)
{
    if (m_completed || index == m_currentStepIndex)
        return;
    m_currentStepIndex = index;
    followInputAccessStep();
    emit currentStepChanged(index, animated);
}

void OnboardingFlow::followInputAccessStep()
{
    if (!m_completed && onInputAccessStep())
        m_inputAccess->enter();
    else
        m_inputAccess->leave();
}

void OnboardingFlow::requestInputAccessHelp()
{
    if (onInputAccessStep())
        m_inputAccess->requestHelp();
}

void OnboardingFlow::requestSignIn()
{
    if (!m_traits.signInViaMainApp) {
        openGoogleSignIn();
        return;
    }
    if (m_pendingAdvance != 0)
        return;
    m_link.handleSignIn();
    advanceLater();
}

void OnboardingFlow::requestPurchase()
{
    if (m_pendingAdvance != 0)
        return;
    m_link.handlePurchase();
    advanceLater();
}

void OnboardingFlow::advanceLater()
{
    m_pendingAdvance = m_platform.scheduler.after(kAdvanceAfterRequest, this, [this] {
        m_pendingAdvance = 0;
        nextStep();
    });
}

void OnboardingFlow::openGoogleSignIn()
{
    QUrl url;
    url.setScheme(QStringLiteral("https"));
    url.setHost(kServiceApiHost);
    url.setPath(QStringLiteral("/api/v1/auth/google"));
    m_platform.urls.open(url);
    nextStep();
}

void OnboardingFlow::handleAuthCompleted()
{
    emit raiseRequested();
    if (!m_account.checkAuthentication())
        return;
    // On to the step after sign-in, wherever the user is.
    const auto signIn = std::find_if(m_steps.cbegin(), m_steps.cend(), [](const StepRow* step) {
        return step->need == StepNeed::signIn;
    });
    if (signIn != m_steps.cend())
        setIndex(signIn - m_steps.cbegin() + 1, false);
}

void OnboardingFlow::completeFTUE()
{
    if (m_completed)
        return;
    m_completed = true;
    m_inputAccess->leave();
    Console& console = m_platform.console;
    if (m_traits.registersLaunchAtLogin) {
        if (const Result<> registered = m_platform.autostart.registerMainApp(); registered.ok())
            console.line(QStringLiteral("✅ Successfully set app to launch at login."));
        else
            console.line(QStringLiteral("❌ Failed to set launch at login: ") + registered.error());
    }
    const QMap<QString, bool> flags{{QStringLiteral("has_launched_before"), true},
                                    {QStringLiteral("ftue_completed"), true}};
    if (const Result<> saved = m_platform.settings.setFlags(flags); !saved.ok())
        console.line(QStringLiteral("Failed to save onboarding state: ") + saved.error());
    emit completed();
}

} // namespace marten
