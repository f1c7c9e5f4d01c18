#include "app/FTUEView.h"

#include "core/OnboardingFlow.h"
#include "core/platform/Platform.h"
#include "screens/LoadingView.h"
#include "screens/ScreenContext.h"
#include "ui/Accessibility.h"
#include "ui/Buttons.h"
#include "ui/FirstPaint.h"
#include "ui/NavigationControls.h"
#include "ui/ProgressBar.h"
#include "ui/StepFade.h"
#include "ui/Theme.h"

#include <QShowEvent>
#include <QStackedLayout>
#include <QVBoxLayout>

namespace marten {
namespace {
constexpr int kStepAreaPadding = 40;
constexpr int kStepAreaSpacing = 30;
// Latest start of the flow when the window is shown but its first frame does not come
// (a compositor that keeps it unexposed).
constexpr std::chrono::milliseconds kUnpaintedStartLimit{500};

} // namespace

FTUEView::FTUEView(OnboardingFlow& flow, Platform& platform, QWidget* parent)
    : QWidget(parent), m_flow(flow), m_platform(platform)
{
    setObjectName(QStringLiteral("ftueView"));
    setFixedSize(kWidth, kHeight);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, theme::white());
    setPalette(pal);

    m_pages = new QStackedLayout(this);
    m_pages->setContentsMargins(0, 0, 0, 0);
    m_loading = new LoadingView(m_flow.traits(), platform, this);
    m_pages->addWidget(m_loading);
    m_pages->addWidget(buildMainColumn());
    m_pages->setCurrentWidget(m_loading);

    connect(&m_flow, &OnboardingFlow::stepsDecided, this, &FTUEView::showSteps);
    connect(&m_flow, &OnboardingFlow::currentStepChanged, this, [this](qint64, bool animated) {
        if (!m_flow.isLoading())
            rebuildStepArea(animated);
    });
}

QWidget* FTUEView::buildMainColumn()
{
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
    m_stepLayout = new QVBoxLayout(m_stepArea);
    m_stepLayout->setContentsMargins(kStepAreaPadding, kStepAreaPadding, kStepAreaPadding,
                                     kStepAreaPadding);
    m_stepLayout->setSpacing(kStepAreaSpacing);
    a11y::setRole(m_stepArea, QAccessible::Grouping);
    column->addWidget(m_stepArea, 1);

    // The Back layer sits over the main column in the top-left corner, just below the
    // progress bar so that the chevron never covers the first segment.
    m_back = new BackButton(m_mainPage);
    m_back->move(0, theme::defaultPadding + m_progress->height());
    m_back->hide();
    connect(m_back, &QAbstractButton::clicked, &m_flow, &OnboardingFlow::previousStep);

    m_fade = new StepFade(theme::stepFadeMs, m_mainPage);
    return m_mainPage;
}

void FTUEView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_pages->currentWidget() == m_loading)
        m_loading->setFocus(Qt::OtherFocusReason);
    if (m_startPending)
        return;
    // The flow starts once the loading view is on screen: a decision that came back before
    // the window's first frame would otherwise build the first step ahead of that frame.
    // Only the first start does anything; showing the window again changes nothing.
    m_startPending = true;
    afterFirstPaint(this, [this] { m_flow.start(); });
    m_platform.scheduler.after(kUnpaintedStartLimit, this, [this] { m_flow.start(); });
}

void FTUEView::showSteps()
{
    // The first step's screen comes on display after the decision is logged.
    m_loading->setStepsKnown(true);
    m_pages->setCurrentWidget(m_mainPage);
    rebuildStepArea(false);
}

void FTUEView::clearStepArea()
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
}

void FTUEView::rebuildStepArea(bool animated)
{
    clearStepArea();
    const qint64 index = m_flow.currentStepIndex();
    m_progress->setSteps(index, m_flow.steps().size());
    m_back->setVisible(index >= 1);
    m_back->raise();

    if (const StepRow* step = m_flow.currentStep()) {
        m_screen = step->makeScreen(ScreenContext{m_flow.traits(), m_platform, m_flow}, m_stepArea);
        m_stepButton = buildStepButton();
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
        // The keyboard rests on the step itself, so a screen reader reads its heading and
        // explanation on arrival; the first Tab goes on to the step's first control.
        m_stepArea->setFocusPolicy(Qt::NoFocus);
        m_stepArea->setAccessibleName(QString());
        m_stepArea->setAccessibleDescription(QString());
        m_screen->setFocus(Qt::OtherFocusReason);
    } else {
        // Past the last step the area stays empty; the focus rests on it, and it says so.
        a11y::describeStep(m_stepArea, tr("All steps done"),
                           tr("Go back to the last step, or close the window."));
        m_stepArea->setFocus(Qt::OtherFocusReason);
    }

    if (animated && m_stepArea->isVisible()) {
        m_fade->start(m_stepArea->geometry());
        m_back->raise();
    }
}

StyledButton* FTUEView::buildStepButton()
{
    const std::optional<StepButtonChoice> wanted = m_flow.currentStepButton();
    if (!wanted)
        return nullptr;
    const QString title =
        wanted->title == StepButtonChoice::Title::GetStarted ? tr("Get Started") : tr("Next");
    StyledButton* button = StepButton::create(wanted->style, title, m_stepArea);
    if (wanted->completes)
        connect(button, &QAbstractButton::clicked, &m_flow, &OnboardingFlow::completeFTUE);
    else
        connect(button, &QAbstractButton::clicked, &m_flow, &OnboardingFlow::nextStep);
    return button;
}

} // namespace marten
