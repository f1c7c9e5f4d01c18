#pragma once

#include "ui/Buttons.h"

#include <QPointer>
#include <QWidget>

class QStackedLayout;
class QVBoxLayout;

namespace marten {

struct Platform;
class BackButton;
class LoadingView;
class OnboardingFlow;
class ProgressBar;
class StepFade;

// FTUE: the first-time user experience, the steps a new user goes through once.
//
// Shows the onboarding flow: the loading view while it decides, then the progress bar, the
// step on display (its screen made by the step's row of the table) with its button, and
// Back. It only shows what the flow holds and passes what the user does back to it.
class FTUEView final : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 809;
    static constexpr int kHeight = 500;

    FTUEView(OnboardingFlow& flow, Platform& platform, QWidget* parent = nullptr);

    OnboardingFlow& flow() const { return m_flow; }
    // The screen and step button on display (null when none).
    QWidget* currentScreen() const { return m_screen; }
    StyledButton* stepButton() const { return m_stepButton; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildMainColumn();
    void showSteps();
    void rebuildStepArea(bool animated);
    void clearStepArea();
    StyledButton* buildStepButton();

    OnboardingFlow& m_flow;
    Platform& m_platform;

    QStackedLayout* m_pages;
    LoadingView* m_loading;
    QWidget* m_mainPage = nullptr;
    ProgressBar* m_progress = nullptr;
    QWidget* m_stepArea = nullptr;
    QVBoxLayout* m_stepLayout = nullptr;
    BackButton* m_back = nullptr;
    StepFade* m_fade = nullptr;
    QPointer<QWidget> m_screen;
    QPointer<StyledButton> m_stepButton;
    bool m_startPending = false;
};

} // namespace marten
