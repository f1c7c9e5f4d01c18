#include "flow/FTUEView.h"

#include "flow/LoadingView.h"
#include "flow/NavigationControls.h"
#include "flow/ProgressBar.h"
#include "flow/StepDecision.h"
#include "flow/StepFade.h"
#include "flow/TestItState.h"
#include "platform/AccessibilityProbe.h"
#include "platform/AppControl.h"
#include "platform/Console.h"
#include "platform/LoginItem.h"
#include "platform/Platform.h"
#include "platform/Scheduler.h"
#include "platform/UrlOpener.h"
#include "platform/UserDefaults.h"
#include "screens/HowToUseView.h"
#include "screens/PermissionsView.h"
#include "screens/PurchaseView.h"
#include "screens/SignInView.h"
#include "screens/TestItView.h"
#include "screens/WelcomeView.h"
#include "ui/Theme.h"

#include <QShowEvent>
#include <QStackedLayout>
#include <QTimer>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

namespace marten {

// The service's API host for the browser sign-in of the simple program.
const QString kServiceApiHost = QStringLiteral("api.marten.app");

namespace {
constexpr int kFadeMs = 180;
constexpr int kStepAreaPadding = 40;
constexpr int kStepAreaSpacing = 30;
} // namespace

FTUEView::FTUEView(Variant variant, Platform& platform, QWidget* parent)
    : QWidget(parent), m_traits(traitsFor(variant)), m_platform(platform),
      m_account(variant, platform.homeDir, platform.console),
      m_link(platform.notifications, platform.scheduler, platform.console),
      m_testIt(new TestItState(this))
{
    setObjectName(QStringLiteral("ftueView"));
    setFixedSize(kWidth, kHeight);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, theme::white());
    setPalette(pal);

    m_pages = new QStackedLayout(this);
    m_pages->setContentsMargins(0, 0, 0, 0);

    m_loading = new LoadingView(m_traits, platform, this);
    m_pages->addWidget(m_loading);

    m_mainPage = new QWidget(this);
    m_mainPage->setObjectName(QStringLiteral("mainColumn"));
    auto* column = new QVBoxLayout(m_mainPage);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    m_progress = new ProgressBar(m_mainPage);
    auto* progressBox = new QVBoxLayout;
    progressBox->setContentsMargins(theme::defaultPadding, theme::defaultPadding,
                                    theme::defaultPadding, 0);
    progressBox->addWidget(m_progress);
    column->addLayout(progressBox);

    m_stepArea = new QWidget(m_mainPage);
    m_stepArea->setObjectName(QStringLiteral("stepArea"));
    m_stepArea->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    if (m_traits.blackScreenText) {
        QPalette areaPalette = m_stepArea->palette();
        areaPalette.setColor(QPalette::WindowText, theme::black());
        m_stepArea->setPalette(areaPalette);
    }
    m_stepLayout = new QVBoxLayout(m_stepArea);
    m_stepLayout->setContentsMargins(kStepAreaPadding, kStepAreaPadding, kStepAreaPadding,
                                     kStepAreaPadding);
    m_stepLayout->setSpacing(kStepAreaSpacing);
    column->addWidget(m_stepArea, 1);

    // The Back layer sits over the main column in the top-left corner, just below the
    // progress bar so that the chevron never covers the first segment.
    m_back = new BackButton(m_mainPage);
    m_back->move(0, theme::defaultPadding + m_progress->height());
    m_back->hide();
    connect(m_back, &QAbstractButton::clicked, this, &FTUEView::previousStep);

    m_fade = new StepFade(m_mainPage, kFadeMs);

    m_pages->addWidget(m_mainPage);
    m_pages->setCurrentWidget(m_loading);
}

FTUEView::~FTUEView()
{
    if (m_decision) {
        // The decision only reads files; let it finish rather than leave it dangling.
        m_decision->disconnect(this);
        m_decision->waitForFinished();
    }
}

std::optional<FTUEStep> FTUEView::currentStep() const
{
    if (m_isLoading || m_currentStepIndex < 0 || m_currentStepIndex >= m_steps.size())
        return std::nullopt;
    return m_steps.at(m_currentStepIndex);
}

void FTUEView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    determineSteps();
    if (m_traits.signInViaMainApp)
        // Registered on the next turn of the event loop, once the first frame is out:
        // subscribing is a round trip to the bus.
        QTimer::singleShot(0, this, [this] {
            m_link.observeAuthCompletion(this, [this] { handleAuthCompleted(); });
        });
}

void FTUEView::determineSteps()
{
    if (m_decision && m_decision->isRunning())
        return;
    if (!m_decision) {
        m_decision = new QFutureWatcher<StepDecision>(this);
        connect(m_decision, &QFutureWatcherBase::finished, this,
                [this] { applyDecision(m_decision->result()); });
    }
    // The decision only reads (the input-access probe and the account files), so it runs
    // off the main thread; its result comes back through the watcher on the main thread.
    const Variant variant = m_traits.variant;
    const AccessibilityProbe& probe = m_platform.accessibility;
    const AccountChecks account = m_account;
    m_decision->setFuture(QtConcurrent::run(
        [variant, &probe, account] { return decideSteps(variant, probe, account); }));
}

void FTUEView::applyDecision(const StepDecision& decision)
{
    if (decision.completeWithoutSteps) {
        m_isLoading = true;
        m_platform.scheduler.after(std::chrono::seconds(3), this, [this] { completeFTUE(); });
        return;
    }
    m_steps = decision.steps;
    m_isLoading = false;
    m_platform.console.line(QStringLiteral("FTUE will show %1 steps").arg(m_steps.size()));
    // The first step's screen comes on display after the decision is logged.
    m_loading->setStepsKnown(true);
    m_pages->setCurrentWidget(m_mainPage);
    rebuildStepArea(false);
    emit stepsDecided();
}

void FTUEView::nextStep()
{
    setIndex(m_currentStepIndex + 1, true);
}

void FTUEView::previousStep()
{
    // Two quick activations could arrive before the Back control is gone.
    if (m_currentStepIndex <= 0)
        return;
    setIndex(m_currentStepIndex - 1, true);
}

void FTUEView::setIndex(qint64 index, bool animated)
{
    if (m_completed)
        return;
    const qint64 previous = m_currentStepIndex;
    m_currentStepIndex = index;
    if (!m_isLoading && previous != index)
        rebuildStepArea(animated);
    if (previous != index)
        emit currentStepChanged(index);
}

void FTUEView::handleAuthCompleted()
{
    m_platform.app.raiseAndActivate(window());
    if (!m_account.checkAuthentication())
        return;
    const qsizetype signIn = m_steps.indexOf(FTUEStep::signIn);
    if (signIn >= 0)
        setIndex(signIn + 1, false);
}

void FTUEView::completeFTUE()
{
    if (m_completed)
        return;
    m_completed = true;
    Console& console = m_platform.console;
    if (m_traits.registersLaunchAtLogin) {
        QString error;
        if (m_platform.loginItem.registerMainApp(&error))
            console.line(QStringLiteral("✅ Successfully set app to launch at login."));
        else
            console.line(QStringLiteral("❌ Failed to set launch at login: ") + error);
    }
    QString error;
    const bool saved =
        m_platform.defaults.setBool(QStringLiteral("has_launched_before"), true, &error) &&
        m_platform.defaults.setBool(QStringLiteral("ftue_completed"), true, &error);
    if (!saved)
        console.line(QStringLiteral("Failed to save onboarding state: ") + error);
    emit completed();
    m_platform.app.quit();
}

void FTUEView::openGoogleSignIn()
{
    QUrl url;
    url.setScheme(QStringLiteral("https"));
    url.setHost(kServiceApiHost);
    url.setPath(QStringLiteral("/api/v1/auth/google"));
    m_platform.urls.open(url);
    nextStep();
}

QWidget* FTUEView::buildScreen(FTUEStep step)
{
    const ScreenContext context{m_traits, m_platform};
    auto next = [this] { nextStep(); };
    switch (step) {
    case FTUEStep::welcome:
        return new WelcomeView(context, m_stepArea);
    case FTUEStep::permissions:
        return new PermissionsView(context, next, m_stepArea);
    case FTUEStep::howToUse:
        return new HowToUseView(context, m_stepArea);
    case FTUEStep::signIn:
        if (m_traits.signInViaMainApp)
            return new SignInView(
                context, next, [this] { m_link.handleSignIn(this, [this] { nextStep(); }); },
                m_stepArea);
        return new SignInView(
            context, next, [this] { openGoogleSignIn(); }, m_stepArea);
    case FTUEStep::purchase:
        return new PurchaseView(
            context, next, [this] { m_link.handlePurchase(this, [this] { nextStep(); }); },
            m_stepArea);
    case FTUEStep::testIt:
        return new TestItView(context, *m_testIt, m_stepArea);
    }
    return nullptr;
}

StyledButton* FTUEView::buildStepButton(FTUEStep step)
{
    QString title;
    ButtonStyle style = m_traits.stepButtonStyle;
    switch (step) {
    case FTUEStep::welcome:
        title = tr("Next");
        break;
    case FTUEStep::permissions:
        // Offered only when input access is already there as the step is built; otherwise
        // the screen moves the flow on by itself once it sees the grant.
        if (!m_platform.accessibility.isTrusted())
            return nullptr;
        title = tr("Next");
        style = ButtonStyle::BorderedProminent;
        break;
    case FTUEStep::howToUse:
        title = m_traits.variant == Variant::Full ? tr("Get Started") : tr("Next");
        break;
    case FTUEStep::testIt:
        title = tr("Get Started");
        break;
    case FTUEStep::signIn:
    case FTUEStep::purchase:
        return nullptr;
    }
    StyledButton* button = StepButton::create(style, title, m_stepArea);
    const bool completes = (step == FTUEStep::howToUse && m_traits.variant == Variant::Full) ||
                           step == FTUEStep::testIt;
    if (completes)
        connect(button, &QAbstractButton::clicked, this, &FTUEView::completeFTUE);
    else
        connect(button, &QAbstractButton::clicked, this, &FTUEView::nextStep);
    return button;
}

void FTUEView::focusMainControl()
{
    // The step's button if it has one; otherwise the screen's own first control.
    if (m_stepButton) {
        m_stepButton->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (!m_screen)
        return;
    if (m_screen->focusProxy()) {
        m_screen->setFocus(Qt::OtherFocusReason);
        return;
    }
    for (QWidget* w = m_screen->nextInFocusChain(); w && w != m_screen; w = w->nextInFocusChain()) {
        if (!m_screen->isAncestorOf(w))
            continue;
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(m_screen) && w->isEnabled()) {
            w->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

void FTUEView::rebuildStepArea(bool animated)
{
    // The old step usually goes away from inside one of its own button clicks: detach it
    // now and delete it once that click has returned.
    for (QWidget* old : {static_cast<QWidget*>(m_screen), static_cast<QWidget*>(m_stepButton)}) {
        if (!old)
            continue;
        old->hide();
        old->setParent(nullptr);
        old->deleteLater();
    }
    m_screen = nullptr;
    m_stepButton = nullptr;
    while (QLayoutItem* item = m_stepLayout->takeAt(0))
        delete item;

    m_progress->setSteps(m_currentStepIndex, m_steps.size());
    m_back->setVisible(m_currentStepIndex >= 1);
    m_back->raise();

    const std::optional<FTUEStep> step = currentStep();
    if (step) {
        m_screen = buildScreen(*step);
        m_stepButton = buildStepButton(*step);
        const bool fills = m_screen->sizePolicy().verticalPolicy() & QSizePolicy::ExpandFlag;
        if (!fills)
            m_stepLayout->addStretch(1);
        m_stepLayout->addWidget(m_screen, fills ? 1 : 0);
        if (m_stepButton)
            m_stepLayout->addWidget(m_stepButton, 0, Qt::AlignHCenter);
        if (!fills)
            m_stepLayout->addStretch(1);
        m_screen->show();
        if (m_stepButton)
            m_stepButton->show();
        focusMainControl();
    }

    if (animated && m_stepArea->isVisible()) {
        m_fade->start(m_stepArea->geometry());
        m_back->raise();
    }
}

} // namespace marten
