#pragma once

#include "core/AccountChecks.h"
#include "core/MainAppLink.h"
#include "core/StepDecision.h"
#include "core/StepRow.h"
#include "core/Variant.h"
#include "core/platform/Scheduler.h"

#include <QFutureWatcher>
#include <QObject>

#include <optional>

namespace marten {

class InputAccessStep;
struct Platform;
class TestItState;

// The onboarding without its widgets: decides which of the table's steps to show, keeps the
// step index, moves it on and back, talks to the main application, and completes. Views
// follow it through its signals. Main thread only.
class OnboardingFlow final : public QObject {
    Q_OBJECT
public:
    // The table's rows must outlive the flow (the program's table is static).
    OnboardingFlow(StepTable table, Variant variant, Platform& platform, QObject* parent = nullptr);
    ~OnboardingFlow() override;

    // Starts deciding the steps off the main thread and, in the full program, listening for
    // the main application's sign-in notice. Only the first call does anything.
    void start();

    void nextStep();
    void previousStep();
    void completeFTUE();
    // The sign-in screen's Google button and the purchase screen's "Subscribe Now". While the
    // flow waits to move on after one of them, a second press does nothing.
    void requestSignIn();
    void requestPurchase();
    // Full program: the main application reported a finished sign-in.
    void handleAuthCompleted();
    // The permission step's "Open System Settings": inputAccessHelpRequested() follows.
    void requestInputAccessHelp();

    const VariantTraits& traits() const { return m_traits; }
    qint64 currentStepIndex() const { return m_currentStepIndex; }
    const StepList& steps() const { return m_steps; }
    bool isLoading() const { return m_isLoading; }
    // The step on display; null while loading and past the last step.
    const StepRow* currentStep() const;
    // The button below the step on display, if it has one.
    std::optional<StepButtonChoice> currentStepButton() const;
    TestItState& testItState() const { return *m_testIt; }
    // Whether input access is there and watched for; moves the flow on from its step.
    const InputAccessStep& inputAccessStep() const { return *m_inputAccess; }

signals:
    void stepsDecided();
    void currentStepChanged(qint64 index, bool animated);
    // The window should come to the front.
    void raiseRequested();
    // Show how to grant input access.
    void inputAccessHelpRequested();
    // The onboarding is done and its state saved: the program should end.
    void completed();

private:
    // Hands the decision over once it is made and, in the full program, the sign-in notice
    // is listened for (or the bus had its time).
    void applyDecisionWhenListening();
    void applyDecision(const StepDecision& decision);
    void setIndex(qint64 index, bool animated);
    void advanceLater();
    void openGoogleSignIn();
    // Tells the permission step whether it is the one on display.
    void followInputAccessStep();
    bool onInputAccessStep() const;

    StepTable m_table;
    const VariantTraits& m_traits;
    Platform& m_platform;
    AccountChecks m_account;
    MainAppLink m_link;
    TestItState* m_testIt;
    InputAccessStep* m_inputAccess;

    qint64 m_currentStepIndex = 0;
    StepList m_steps;
    bool m_isLoading = true;
    bool m_started = false;
    bool m_completed = false;
    Scheduler::TaskId m_pendingAdvance = 0;
    QFutureWatcher<StepDecision> m_decision;
    bool m_decisionReady = false;
    bool m_listening = true;
    Scheduler::TaskId m_listenLimit = 0;
};

} // namespace marten
