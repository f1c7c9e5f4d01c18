#pragma once

#include "account/AccountChecks.h"
#include "account/MainAppLink.h"
#include "flow/FTUEStep.h"
#include "flow/Variant.h"

#include <QFutureWatcher>
#include <QPointer>
#include <QWidget>

class QStackedLayout;
class QVBoxLayout;

namespace marten {

struct Platform;
struct StepDecision;
class BackButton;
class StepFade;
class LoadingView;
class ProgressBar;
class StyledButton;
class TestItState;

// The whole onboarding: decides the steps, shows one at a time, and completes.
// All of its state lives on the main thread.
class FTUEView final : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 809;
    static constexpr int kHeight = 500;

    FTUEView(Variant variant, Platform& platform, QWidget* parent = nullptr);
    ~FTUEView() override;

    // Flow operations.
    void nextStep();
    void previousStep();
    void completeFTUE();
    void determineSteps();

    // Full program: the main application reported a finished sign-in.
    void handleAuthCompleted();

    Variant variant() const { return m_traits.variant; }
    qint64 currentStepIndex() const { return m_currentStepIndex; }
    const StepList& steps() const { return m_steps; }
    bool isLoading() const { return m_isLoading; }
    bool isCompleted() const { return m_completed; }
    std::optional<FTUEStep> currentStep() const;
    TestItState& testItState() const { return *m_testIt; }

    // The screen and step button on display (null when none).
    QWidget* currentScreen() const { return m_screen; }
    StyledButton* stepButton() const { return m_stepButton; }

signals:
    void stepsDecided();
    void currentStepChanged(qint64 index);
    void completed();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void applyDecision(const StepDecision& decision);
    void setIndex(qint64 index, bool animated);
    void rebuildStepArea(bool animated);
    QWidget* buildScreen(FTUEStep step);
    StyledButton* buildStepButton(FTUEStep step);
    void openGoogleSignIn();
    void focusMainControl();

    const VariantTraits& m_traits;
    Platform& m_platform;
    AccountChecks m_account;
    MainAppLink m_link;

    // Flow state.
    qint64 m_currentStepIndex = 0;
    TestItState* m_testIt;
    StepList m_steps;
    bool m_isLoading = true;
    bool m_completed = false;

    // Widgets.
    QStackedLayout* m_pages;
    LoadingView* m_loading;
    QWidget* m_mainPage;
    ProgressBar* m_progress;
    QWidget* m_stepArea;
    QVBoxLayout* m_stepLayout;
    BackButton* m_back;
    StepFade* m_fade;
    QPointer<QWidget> m_screen;
    QPointer<StyledButton> m_stepButton;
    QFutureWatcher<StepDecision>* m_decision = nullptr;
};

} // namespace marten
