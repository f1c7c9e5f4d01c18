#include "app/FTUEView.h"
#include "core/OnboardingFlow.h"
#include "core/TestItState.h"
#include "support/TestEnv.h"
#include "ui/NavigationControls.h"
#include "ui/ProgressBar.h"

#include <QSignalSpy>

using namespace marten;
using namespace std::chrono_literals;

// The view follows the flow; the flow's own decisions are tested without widgets.
class TestFTUEView final : public QObject {
    Q_OBJECT

    // The bar as painted over white, one letter per stretch along its middle row: a for the
    // accent colour, p for pale.
    static QString segments(QWidget* bar)
    {
        QImage image(bar->size(), QImage::Format_ARGB32);
        image.fill(Qt::white);
        bar->render(&image, {}, {}, QWidget::DrawChildren);
        QString found;
        for (int x = 0, y = image.height() / 2; x < image.width(); ++x) {
            const QColor colour = image.pixelColor(x, y);
            if (colour != Qt::white && (x == 0 || image.pixelColor(x - 1, y) == Qt::white))
                found += 'p';
            if (colour == theme::accent())
                found.back() = 'a';
        }
        return found;
    }

private slots:
    // The buttons drive the flow; Back, the bar and the step button follow it, past the end too;
    // Get Started on the last step completes. With a transcript the test step is taller than the
    // step area: the paddings give way, the symbol and the texts keep their size.
    void buttonsAndBarFollowTheFlow()
    {
        test::OnboardingRun run(Variant::Simple, false, true); // welcome, howToUse, signIn, testIt
        QVERIFY(run.ready);
        FTUEView* view = run.window.view();
        OnboardingFlow& flow = run.window.flow();
        auto* back = view->findChild<BackButton*>();
        auto* progress = view->findChild<ProgressBar*>();
        QVERIFY(!back->isVisible());
        QCOMPARE(segments(progress), "appp");
        QTest::mouseClick(view->stepButton(), Qt::LeftButton);
        QVERIFY(back->isVisible());
        QTest::mouseClick(back, Qt::LeftButton);
        QVERIFY(flow.currentStepIndex() == 0 && !back->isVisible());
        for (int i = 0; i < 4; ++i)
            flow.nextStep();
        QVERIFY(!view->currentScreen() && !view->stepButton() && back->isVisible());
        QCOMPARE(segments(progress), "aaaa");
        flow.testItState().setTranscribedText(
            "Remind me to call the bakery about Saturday's order.");
        QTest::mouseClick(back, Qt::LeftButton);
        QCOMPARE(view->stepButton()->text(), QStringLiteral("Get Started"));
        QWidget* screen = view->currentScreen();
        for (const char* name :
             {"micSymbol", "transcriptHeading", "testItTitle", "transcriptText", "testItClosing"}) {
            auto* part = screen->findChild<QWidget*>(QLatin1String(name));
            const int needed = part->hasHeightForWidth() ? part->heightForWidth(part->width())
                                                         : part->sizeHint().height();
            QVERIFY2(part->height() >= needed &&
                         part->mapTo(screen, QPoint(0, part->height())).y() <= screen->height(),
                     name);
        }
        QSignalSpy completed(&flow, &OnboardingFlow::completed);
        QTest::mouseClick(view->stepButton(), Qt::LeftButton);
        QCOMPARE(completed.count(), 1);
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
        QVERIFY(flow.isLoading() && !view.currentScreen());
        services.scheduler.advance(1s);
        QTRY_VERIFY(!flow.isLoading());
        QVERIFY(view.currentScreen());
    }

    // Signed in: the permission screen's button opens the panel, which goes once the flow sees
    // the grant; the flow then moves on to the purchase. There Skip moves on at once and asks
    // for nothing; Subscribe asks the main application once and moves on a moment later,
    // however often it is pressed meanwhile.
    void grantThenPurchase()
    {
        test::OnboardingRun run(Variant::Full, true);
        QVERIFY(run.ready);
        OnboardingFlow& flow = run.window.flow();
        while (flow.currentStep() && flow.currentStep() != FTUEStep::permissions)
            flow.nextStep();
        QTest::qWait(0);
        const auto shows = [&](const char* name) {
            return run.window.findChild<QWidget*>(name)->isVisible();
        };
        const auto press = [&](const char* name) {
            QTest::mouseClick(run.window.findChild<QAbstractButton*>(name), Qt::LeftButton);
        };
        QVERIFY(!run.window.view()->stepButton()); // no way on until access is granted
        QVERIFY(!shows("checkingRow") && !shows("grantedLabel"));
        press("openSettingsButton");
        QPointer<QWidget> panel = run.window.findChild<QWidget*>("inputAccessPanel");
        QVERIFY(panel && panel->isVisible() && panel->geometry() == run.window.rect());
        QVERIFY(shows("checkingRow"));
        run.services.probe.granted = true;
        run.services.scheduler.advance(1s);
        QVERIFY(!panel || !panel->isVisible());
        QVERIFY(shows("grantedLabel") && !shows("openSettingsButton") && !shows("checkingRow"));
        run.services.scheduler.advance(2s);
        QCOMPARE(flow.currentStep(), FTUEStep::purchase);

        const qsizetype purchase = flow.currentStepIndex();
        press("skipButton");
        QVERIFY(flow.currentStepIndex() == purchase + 1 && run.services.bus.posted.isEmpty());
        flow.previousStep();
        QTest::qWait(0);
        press("subscribeButton");
        press("subscribeButton");
        QCOMPARE(run.services.bus.posted.size(), 1);
        run.services.scheduler.advance(10s);
        QCOMPARE(flow.currentStepIndex(), purchase + 1);
    }
};

MARTEN_TEST_MAIN(TestFTUEView)
#include "tst_ftueview.moc"
