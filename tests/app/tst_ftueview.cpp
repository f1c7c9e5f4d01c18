#include "app/FTUEView.h"
#include "core/OnboardingFlow.h"
#include "core/TestItState.h"
#include "fakes/Fakes.h"
#include "support/TestEnv.h"
#include "ui/Buttons.h"
#include "ui/NavigationControls.h"
#include "ui/ProgressBar.h"

#include <QLabel>

using namespace marten;
using namespace std::chrono_literals;

// The view follows the flow; the flow's own decisions are tested without widgets.
class TestFTUEView final : public QObject {
    Q_OBJECT

    static void goTo(OnboardingFlow& flow, FTUEStep step)
    {
        while (flow.currentStep() && *flow.currentStep() != step)
            flow.nextStep();
        QTest::qWait(0);
    }

private slots:
    // The buttons drive the flow; Back, the bar and the step button follow it, past the end too.
    void buttonsAndBarFollowTheFlow()
    {
        test::OnboardingRun run(Variant::Simple, false, true); // welcome, howToUse, signIn, testIt
        QVERIFY(run.ready);
        FTUEView* view = run.window.view();
        OnboardingFlow& flow = run.window.flow();
        auto* back = view->findChild<BackButton*>();
        auto* progress = view->findChild<ProgressBar*>();
        QVERIFY(!back->isVisible());
        QCOMPARE(progress->totalSteps(), 4);
        QTest::mouseClick(view->stepButton(), Qt::LeftButton);
        QVERIFY(back->isVisible());
        QTest::mouseClick(back, Qt::LeftButton);
        QCOMPARE(flow.currentStepIndex(), 0);
        QVERIFY(!back->isVisible());
        for (int i = 0; i < 4; ++i)
            flow.nextStep();
        QVERIFY(!view->currentScreen() && !view->stepButton() && back->isVisible());
        QCOMPARE(progress->currentStep(), 4);
        QTest::mouseClick(back, Qt::LeftButton);
        QCOMPARE(view->stepButton()->text(), QStringLiteral("Get Started"));
    }

    // A decision ready before the window's first frame must not build the first step
    // ahead of that frame; a window that is never painted still moves on after a while.
    void flowStartsAfterTheFirstPaintOrATimeLimit()
    {
        fake::Services services;
        services.platform.assets.homeDir = QDir::homePath();
        OnboardingFlow flow(Variant::Simple, services.platform);
        FTUEView view(flow, services.platform);
        view.setUpdatesEnabled(false); // keeps the first paint from happening
        view.show();
        QTest::qWait(200);
        QVERIFY(flow.isLoading());
        QVERIFY(!view.currentScreen());
        services.scheduler.advance(1s);
        QTRY_VERIFY(!flow.isLoading());
        QVERIFY(view.currentScreen());
    }

    // The permission screen's button opens the panel, which goes once the flow sees the
    // grant; the flow then moves on.
    void grantSeenOnThePermissionStepMovesOn()
    {
        test::OnboardingRun run(Variant::Full); // welcome, permissions, signIn, howToUse
        QVERIFY(run.ready);
        run.window.flow().nextStep();
        QTest::mouseClick(run.window.findChild<QAbstractButton*>("openSettingsButton"),
                          Qt::LeftButton);
        QPointer<QWidget> panel = run.window.findChild<QWidget*>("inputAccessPanel");
        QVERIFY(panel && panel->isVisible() && panel->geometry() == run.window.rect());
        QVERIFY(run.window.findChild<QWidget*>("checkingRow")->isVisible());
        run.services.probe.granted = true;
        run.services.scheduler.advance(1s);
        QVERIFY(!panel || !panel->isVisible());
        run.services.scheduler.advance(2s);
        QCOMPARE(run.window.flow().currentStep(), FTUEStep::signIn);
    }

    // A widget clips its children's painting, shadows included: every widget between a blue
    // button and the view has to hold the shadow's whole reach (blur 14 px, dropped 4 px).
    void blueButtonShadowsAreNeverClipped()
    {
        int checked = 0;
        for (const bool signedIn : {false, true}) { // sign-in step, then purchase step
            test::OnboardingRun run(Variant::Full, signedIn);
            QVERIFY(run.ready);
            FTUEView* view = run.window.view();
            for (; run.window.flow().currentStep(); run.window.flow().nextStep()) {
                QTest::qWait(0);
                for (StyledButton* button : view->findChildren<StyledButton*>()) {
                    if (!button->isVisibleTo(view) || button->style() != ButtonStyle::AlwaysBlue)
                        continue;
                    ++checked;
                    const QRect reach = button->rect().adjusted(-14, -10, 14, 18);
                    for (QWidget* w = button->parentWidget(); w != view; w = w->parentWidget())
                        QVERIFY2(
                            w->rect().contains(
                                QRect(button->mapTo(w, reach.topLeft()), reach.size())),
                            qPrintable(button->objectName() + " clipped by " + w->objectName()));
                }
            }
        }
        QVERIFY(checked >= 4);
    }

    // With a transcript the screen is taller than the step area: the paddings give way,
    // the symbol and the texts keep their size.
    void testItWithTranscriptKeepsItsParts()
    {
        test::OnboardingRun run(Variant::Simple, false, true);
        QVERIFY(run.ready);
        run.window.flow().testItState().setTranscribedText(
            QStringLiteral("Remind me to call the bakery about Saturday's order."));
        goTo(run.window.flow(), FTUEStep::testIt);
        QWidget* screen = run.window.view()->currentScreen();
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
