#include "app/FTUEView.h"
#include "core/InputAccessWatcher.h"
#include "core/OnboardingFlow.h"
#include "core/TestItState.h"
#include "fakes/Fakes.h"
#include "support/TestEnv.h"
#include "ui/Buttons.h"
#include "ui/NavigationControls.h"
#include "ui/ProgressBar.h"

#include <QFile>
#include <QLabel>

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

    FTUEView* startAndDecide(Variant variant)
    {
        m_flow = std::make_unique<OnboardingFlow>(variant, m_services->platform);
        m_watcher = std::make_unique<InputAccessWatcher>(m_services->scheduler, m_services->probe);
        m_view = std::make_unique<FTUEView>(*m_flow, m_services->platform, *m_watcher);
        m_view->show();
        if (!QTest::qWaitForWindowExposed(m_view.get()))
            return nullptr;
        OnboardingFlow* flow = m_flow.get();
        return QTest::qWaitFor([flow] { return !flow->isLoading(); }) ? m_view.get() : nullptr;
    }

    void goTo(FTUEStep step)
    {
        while (m_flow->currentStep() && *m_flow->currentStep() != step)
            m_flow->nextStep();
        QTest::qWait(0);
    }

    QWidget* back() const { return m_view->findChild<BackButton*>(); }
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
        QFile::remove(QDir::homePath() + QStringLiteral("/.marten_auth_local.json"));
    }

    // The buttons drive the flow; Back, the bar and the step button follow it, past the end too.
    void buttonsAndBarFollowTheFlow()
    {
        m_services->probe.granted = true;
        FTUEView* view = startAndDecide(Variant::Simple); // welcome, howToUse, signIn, testIt
        QVERIFY(view);
        QVERIFY(!back()->isVisible());
        QCOMPARE(progress()->totalSteps(), 4);
        QTest::mouseClick(view->stepButton(), Qt::LeftButton);
        QVERIFY(back()->isVisible());
        QTest::mouseClick(back(), Qt::LeftButton);
        QCOMPARE(m_flow->currentStepIndex(), 0);
        QVERIFY(!back()->isVisible());
        for (int i = 0; i < 4; ++i)
            m_flow->nextStep();
        QVERIFY(!view->currentScreen() && !view->stepButton() && back()->isVisible());
        QCOMPARE(progress()->currentStep(), 4);
        QTest::mouseClick(back(), Qt::LeftButton);
        QCOMPARE(view->stepButton()->text(), QStringLiteral("Get Started"));
    }

    // Return alone belongs to the focused control; Ctrl+Return presses the step button, if any.
    void ctrlReturnPressesTheStepButtonPlainReturnDoesNot()
    {
        FTUEView* view = startAndDecide(Variant::Full);
        QVERIFY(view);
        view->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(view));
        QTest::keyClick(view->stepButton(), Qt::Key_Return);
        QTest::keyClick(view->stepButton(), Qt::Key_Enter);
        QCOMPARE(m_flow->currentStepIndex(), 0);
        QTest::keyClick(view, Qt::Key_Return, Qt::ControlModifier);
        QTest::keyClick(view, Qt::Key_Return, Qt::ControlModifier); // no button without access
        QCOMPARE(m_flow->currentStep(), FTUEStep::permissions);
    }

    // The permission screen's own watch moves the flow on.
    void grantSeenOnThePermissionStepMovesOn()
    {
        FTUEView* view = startAndDecide(Variant::Full); // welcome, permissions, signIn, ...
        QVERIFY(view);
        m_flow->nextStep();
        QTest::mouseClick(view->findChild<QAbstractButton*>("openSettingsButton"), Qt::LeftButton);
        QCOMPARE(m_services->inputAccessHelp.shown, 1);
        m_services->probe.granted = true;
        m_services->scheduler.advance(3s);
        QCOMPARE(m_flow->currentStep(), FTUEStep::signIn);
    }

    // A widget clips its children's painting, shadows included: every widget between a blue
    // button and the view has to hold the shadow's whole reach (blur 14 px, dropped 4 px).
    void blueButtonShadowsAreNeverClipped()
    {
        int checked = 0;
        for (const bool signedIn : {false, true}) { // sign-in step, then purchase step
            if (signedIn)
                test::writeFile(QDir::homePath() + "/.marten_auth_local.json", "{\"token\":\"t\"}");
            QVERIFY(startAndDecide(Variant::Full));
            for (; m_flow->currentStep(); m_flow->nextStep()) {
                QTest::qWait(0);
                for (StyledButton* button : m_view->findChildren<StyledButton*>()) {
                    if (!button->isVisibleTo(m_view.get()) ||
                        button->style() != ButtonStyle::AlwaysBlue)
                        continue;
                    ++checked;
                    const QRect reach = button->rect().adjusted(-14, -10, 14, 18);
                    for (QWidget* w = button->parentWidget(); w != m_view.get();
                         w = w->parentWidget())
                        QVERIFY2(
                            w->rect().contains(
                                QRect(button->mapTo(w, reach.topLeft()), reach.size())),
                            qPrintable(button->objectName() + " clipped by " + w->objectName()));
                }
            }
        }
        QVERIFY(checked >= 4);
    }

    void signInHeadingKeepsTheStackSpacing()
    {
        QVERIFY(startAndDecide(Variant::Full));
        goTo(FTUEStep::signIn);
        QWidget* screen = m_view->currentScreen();
        // At least the 24 px spacer, the stack's 9 px and the heading's own 16 px.
        QVERIFY(screen->findChild<QLabel*>("heading")->mapTo(screen, QPoint()).y() >= 24 + 9 + 16);
    }

    // With a transcript the screen is taller than the step area: the paddings give way,
    // the symbol and the texts keep their size.
    void testItWithTranscriptKeepsItsParts()
    {
        m_services->probe.granted = true;
        QVERIFY(startAndDecide(Variant::Simple));
        m_flow->testItState().setTranscribedText(
            QStringLiteral("Remind me to call the bakery about Saturday's order."));
        goTo(FTUEStep::testIt);
        QWidget* screen = m_view->currentScreen();
        QCOMPARE(screen->findChild<QLabel*>("micSymbol")->size(), QSize(80, 80));
        for (const char* name :
             {"transcriptHeading", "testItTitle", "transcriptText", "testItClosing"}) {
            auto* part = screen->findChild<QWidget*>(QLatin1String(name));
            const int needed = part->hasHeightForWidth() ? part->heightForWidth(part->width())
                                                         : part->sizeHint().height();
            QVERIFY2(part->height() >= needed, name);
            QVERIFY2(part->mapTo(screen, QPoint(0, part->height())).y() <= screen->height(), name);
        }
    }
};

MARTEN_TEST_MAIN(TestFTUEView)
#include "tst_ftueview.moc"
