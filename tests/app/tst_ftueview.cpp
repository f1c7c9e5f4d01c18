#include "app/FTUEView.h"
#include "core/InputAccessWatcher.h"
#include "core/OnboardingFlow.h"
#include "fakes/Fakes.h"
#include "support/TestEnv.h"
#include "ui/Buttons.h"
#include "ui/NavigationControls.h"
#include "ui/ProgressBar.h"

#include <memory>

using namespace marten;
using namespace std::chrono_literals;

// The view follows the flow; the flow's own decisions are tested without widgets.
class TestFTUEView final : public QObject {
    Q_OBJECT

    std::unique_ptr<fake::Services> m_services;
    std::unique_ptr<OnboardingFlow> m_flow;
    std::unique_ptr<InputAccessWatcher> m_watcher;
    std::unique_ptr<FTUEView> m_view;

    void makeView(Variant variant)
    {
        m_flow = std::make_unique<OnboardingFlow>(variant, m_services->platform);
        m_watcher = std::make_unique<InputAccessWatcher>(m_services->scheduler, m_services->probe);
        m_view = std::make_unique<FTUEView>(*m_flow, m_services->platform, *m_watcher);
    }

    FTUEView* startAndDecide(Variant variant)
    {
        makeView(variant);
        m_view->show();
        if (!QTest::qWaitForWindowExposed(m_view.get()))
            return nullptr;
        OnboardingFlow* flow = m_flow.get();
        return QTest::qWaitFor([flow] { return !flow->isLoading(); }) ? m_view.get() : nullptr;
    }

    BackButton* back() const { return m_view->findChild<BackButton*>(); }
    ProgressBar* progress() const { return m_view->findChild<ProgressBar*>(); }

private slots:
    void init()
    {
        m_services = std::make_unique<fake::Services>();
        m_services->platform.homeDir = QDir::homePath();
    }

    void cleanup()
    {
        m_view.reset();
        m_watcher.reset();
        m_flow.reset();
        m_services.reset();
    }

    void nextBackAndPastTheEnd()
    {
        m_services->probe.granted = true;
        FTUEView* view = startAndDecide(Variant::Simple); // welcome, howToUse, signIn, testIt
        QVERIFY(view);
        QVERIFY(!back()->isVisible());
        QCOMPARE(progress()->totalSteps(), 4);
        QCOMPARE(view->stepButton()->text(), QStringLiteral("Next"));
        QCOMPARE(view->stepButton()->style(), ButtonStyle::BorderedProminent);
        QVERIFY(view->stepButton()->width() >= 120);

        QTest::mouseClick(view->stepButton(), Qt::LeftButton);
        QCOMPARE(m_flow->currentStepIndex(), 1);
        QVERIFY(back()->isVisible());
        QTest::mouseClick(back(), Qt::LeftButton);
        QCOMPARE(m_flow->currentStepIndex(), 0);
        QVERIFY(!back()->isVisible());

        for (int i = 0; i < 4; ++i)
            m_flow->nextStep();
        QVERIFY(!view->currentScreen());
        QVERIFY(!view->stepButton());
        QVERIFY(back()->isVisible());
        QCOMPARE(progress()->currentStep(), 4);
        QTest::mouseClick(back(), Qt::LeftButton);
        QCOMPARE(m_flow->currentStep(), FTUEStep::testIt);
        QCOMPARE(view->stepButton()->text(), QStringLiteral("Get Started"));
    }

    // A decision ready before the window's first frame must not build the first step
    // ahead of that frame; a window that is never painted still moves on after a while.
    void flowStartsAfterTheFirstPaintOrATimeLimit()
    {
        makeView(Variant::Simple);
        m_view->setUpdatesEnabled(false); // keeps the first paint from happening
        m_view->show();
        QTest::qWait(200);
        QVERIFY(m_flow->isLoading());
        QVERIFY(!m_view->currentScreen());

        m_services->scheduler.advance(1s);
        QTRY_VERIFY(!m_flow->isLoading());
        QVERIFY(m_view->currentScreen());
    }

    void ctrlReturnPressesTheStepButtonPlainReturnDoesNot()
    {
        FTUEView* view = startAndDecide(Variant::Full);
        QVERIFY(view);
        QCOMPARE(view->stepButton()->style(), ButtonStyle::AlwaysBlue);
        view->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(view));
        QTest::keyClick(view->stepButton(), Qt::Key_Return);
        QTest::keyClick(view->stepButton(), Qt::Key_Enter);
        QCOMPARE(m_flow->currentStepIndex(), 0);
        QTest::keyClick(view, Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(m_flow->currentStepIndex(), 1);
        // The permission step has no button while input access is missing.
        QCOMPARE(m_flow->currentStep(), FTUEStep::permissions);
        QVERIFY(!view->stepButton());
        QTest::keyClick(view, Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(m_flow->currentStepIndex(), 1);
    }

    // The permission screen's own watch moves the flow on, through the flow.
    void grantSeenOnThePermissionStepMovesOn()
    {
        FTUEView* view = startAndDecide(Variant::Full); // welcome, permissions, signIn, ...
        QVERIFY(view);
        m_flow->nextStep();
        auto* open = view->findChild<QAbstractButton*>(QStringLiteral("openSettingsButton"));
        QVERIFY(open);
        QTest::mouseClick(open, Qt::LeftButton);
        QCOMPARE(m_services->inputAccessHelp.shown, 1);
        m_services->probe.granted = true;
        m_services->scheduler.advance(1s); // the watch sees it
        QCOMPARE(m_flow->currentStep(), FTUEStep::permissions);
        m_services->scheduler.advance(1s); // and the screen moves on a second later
        QCOMPARE(m_flow->currentStep(), FTUEStep::signIn);
    }
};

MARTEN_TEST_MAIN(TestFTUEView)
#include "tst_ftueview.moc"
