#include "app/FTUEView.h"
#include "core/OnboardingFlow.h"
#include "screens/StepTable.h"
#include "support/FlowWalk.h"
#include "support/TestEnv.h"
#include "ui/NavigationControls.h"
#include "ui/ProgressBar.h"

#include <QLabel>
#include <QSignalSpy>

using namespace marten;
using namespace std::chrono_literals;

// The view follows the flow; the flow's own decisions are tested without widgets.
class TestFTUEView final : public QObject {
    Q_OBJECT

    static QImage onWhite(QWidget* widget)
    {
        QImage image(widget->size(), QImage::Format_ARGB32);
        image.fill(Qt::white);
        widget->render(&image, {}, {}, QWidget::DrawChildren);
        return image;
    }

    // Whether the bar lights step `i` of `n`: its segment in the accent colour, at its middle.
    static bool lit(QWidget* bar, int i, int n)
    {
        const int middle = (2 * i + 1) * bar->width() / (2 * n);
        return onWhite(bar).pixelColor(middle, bar->height() / 2) == theme::accent();
    }

private slots:
    // Buttons drive the flow; Back, bar and button follow it; Get Started completes. A light
    // accent darkened to 4.5:1 under white, hue kept; a dark one kept; the button and mic follow.
    void buttonsAndBarFollowTheFlowAndTheAccent()
    {
        for (const char* light : {"#FFCC00", "#34C759", "#FF9500", "#007AFF", "#FFFFFF"}) {
            theme::setAccent(QColor(light));
            QVERIFY2(theme::contrast(theme::accent(), Qt::white) >= 4.5, light);
            QVERIFY(theme::contrast(theme::focusRing(), Qt::white) >= 7);
            QVERIFY2(qAbs(theme::accent().hslHue() - QColor(light).hslHue()) <= 3, light);
        }
        theme::setAccent(QColor("#1B5E20"));
        QCOMPARE(theme::accent(), QColor("#1B5E20"));
        test::OnboardingRun run(Variant::Simple, false, true);
        QVERIFY(run.ready);
        FTUEView* view = run.window.view();
        OnboardingFlow& flow = run.window.flow();
        auto* back = view->findChild<BackButton*>();
        auto* progress = view->findChild<ProgressBar*>();
        theme::setAccent(QColor("#FF9500"));
        QVERIFY(!back->isVisible());
        const int steps = int(flow.steps().size());
        QVERIFY(lit(progress, 0, steps) && !lit(progress, 1, steps)); // lit up to the current
        QWidget* button = view->stepButton();
        QCOMPARE(onWhite(button).pixelColor(8, button->height() / 2), theme::accent());
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(back->isVisible());
        QTest::mouseClick(back, Qt::LeftButton);
        QVERIFY(flow.currentStepIndex() == 0 && !back->isVisible());
        while (flow.currentStep())
            flow.nextStep();
        QVERIFY(!view->currentScreen() && !view->stepButton() && back->isVisible());
        QVERIFY(lit(progress, steps - 1, steps));
        QTest::mouseClick(back, Qt::LeftButton);
        QCOMPARE(view->stepButton()->text(), QStringLiteral("Get Started"));
        QTest::qWait(0);
        theme::setAccent(QColor("#34C759"));
        auto* mic = view->currentScreen()->findChild<QLabel*>("micSymbol");
        QCOMPARE(mic->pixmap().toImage().pixelColor(8, 40), theme::accent());
        theme::setAccent(QColor());
        QCOMPARE(mic->pixmap().toImage().pixelColor(8, 40), theme::accent());
        QSignalSpy completed(&flow, &OnboardingFlow::completed);
        QTest::mouseClick(view->stepButton(), Qt::LeftButton);
        QCOMPARE(completed.count(), 1);
    }

    // The first step is built after the window's first frame, or after a while without one.
    void flowStartsAfterTheFirstPaintOrATimeLimit()
    {
        fake::Services services;
        OnboardingFlow flow(onboardingSteps(), Variant::Simple, services.platform);
        FTUEView view(flow, services.platform);
        view.setUpdatesEnabled(false); // keeps the first paint from happening
        view.show();
        QTest::qWait(200);
        QVERIFY(flow.isLoading() && !view.currentScreen());
        services.scheduler.advance(1s);
        QTRY_VERIFY(!flow.isLoading());
        QVERIFY(view.currentScreen());
    }

    // The panel goes once the grant is seen; Skip moves on asking nothing, Subscribe asks.
    void grantThenPurchase()
    {
        test::OnboardingRun run(Variant::Full, true);
        QVERIFY(run.ready);
        OnboardingFlow& flow = run.window.flow();
        QVERIFY(test::walkTo(flow, "permissions"));
        QTest::qWait(0);
        const auto shows = [&](const char* name) {
            return run.window.findChild<QWidget*>(name)->isVisible();
        };
        const auto press = [&](const char* name) {
            QTest::mouseClick(run.window.findChild<QAbstractButton*>(name), Qt::LeftButton);
        };
        QVERIFY(!shows("checkingRow") && !shows("grantedLabel"));
        press("openSettingsButton");
        QPointer<QWidget> panel = run.window.findChild<QWidget*>("inputAccessPanel");
        QVERIFY(panel && panel->isVisible() && panel->geometry() == run.window.rect());
        QVERIFY(shows("checkingRow"));
        run.services.probe.granted = true;
        run.services.scheduler.advance(1s);
        QVERIFY(!panel || !panel->isVisible());
        QVERIFY(shows("grantedLabel") && !shows("openSettingsButton") && !shows("checkingRow"));
        QVERIFY(test::walkTo(flow, "purchase"));
        QTest::qWait(0);

        const qsizetype purchase = flow.currentStepIndex();
        press("skipButton");
        QVERIFY(flow.currentStepIndex() == purchase + 1 && run.services.bus.posted.isEmpty());
        flow.previousStep();
        QTest::qWait(0);
        press("subscribeButton");
        QCOMPARE(run.services.bus.posted.size(), 1);
        run.services.scheduler.advance(10s);
        QCOMPARE(flow.currentStepIndex(), purchase + 1);
    }
};

MARTEN_TEST_MAIN(TestFTUEView)
#include "tst_ftueview.moc"
