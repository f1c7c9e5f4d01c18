#include "app/FTUEView.h"
#include "core/OnboardingFlow.h"
#include "core/TestItState.h"
#include "screens/StepTable.h"
#include "support/FlowWalk.h"
#include "support/TestEnv.h"
#include "ui/NavigationControls.h"
#include "ui/ProgressBar.h"

#include <QAbstractScrollArea>
#include <QLabel>
#include <QSignalSpy>
#include <QTranslator>

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

    // The bar's segments along its middle row: how many are lit (the accent colour) and pale.
    static std::pair<int, int> segments(QWidget* bar)
    {
        const QImage image = onWhite(bar);
        QString found;
        for (int x = 0, y = image.height() / 2; x < image.width(); ++x) {
            const QColor colour = image.pixelColor(x, y);
            if (colour != Qt::white && (x == 0 || image.pixelColor(x - 1, y) == Qt::white))
                found += 'p';
            if (colour == theme::accent())
                found.back() = 'a';
        }
        return {int(found.count('a')), int(found.count('p'))};
    }

    // Lit up to and including the step on display, pale after it, one segment per step.
    static std::pair<int, int> expectedSegments(const OnboardingFlow& flow)
    {
        const int steps = int(flow.steps().size());
        const int lit = std::min(int(flow.currentStepIndex()) + 1, steps);
        return {lit, steps - lit};
    }

    // Visible labels lacking room or cut by a parent (inside a scroll area only the width).
    static QStringList cutOff(QWidget* root)
    {
        QStringList found;
        for (const QLabel* label : root->findChildren<QLabel*>()) {
            if (!label->isVisible())
                continue;
            bool scrolled = false;
            QRect shown = label->rect();
            for (const QWidget* up = label->parentWidget(); up; up = up->parentWidget()) {
                scrolled = scrolled || qobject_cast<const QAbstractScrollArea*>(up);
                shown &= QRect(-label->mapTo(up, QPoint()), up->size());
            }
            const QString name = label->objectName() + " \"" + label->text().left(30) + '"';
            const int width = label->wordWrap() ? label->width() : label->sizeHint().width();
            const int height = label->hasHeightForWidth() ? label->heightForWidth(label->width())
                                                          : label->sizeHint().height();
            if (width > label->width() || (!scrolled && height > label->height()))
                found << name + QString::asprintf(" needs %dx%d, has %dx%d", width, height,
                                                  label->width(), label->height());
            if (!scrolled && shown != label->rect())
                found << name + " is cut off by a parent";
        }
        return found;
    }

private slots:
    // Buttons drive the flow; Back, bar and step button follow it; Get Started completes. A
    // light accent darkened, hue kept, to 4.5:1 under white (#007AFF is 4.0:1), a dark one
    // kept, none the default; the bar, step button and microphone follow a change.
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
        QCOMPARE(segments(progress), expectedSegments(flow));
        QWidget* button = view->stepButton();
        QCOMPARE(onWhite(button).pixelColor(8, button->height() / 2), theme::accent());
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(back->isVisible());
        QTest::mouseClick(back, Qt::LeftButton);
        QVERIFY(flow.currentStepIndex() == 0 && !back->isVisible());
        while (flow.currentStep())
            flow.nextStep();
        QVERIFY(!view->currentScreen() && !view->stepButton() && back->isVisible());
        QCOMPARE(segments(progress), std::pair(int(flow.steps().size()), 0));
        flow.testItState().setTranscribedText(
            "Remind me to call the bakery about Saturday's order.");
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
        services.platform.assets.homeDir = QDir::homePath();
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

    // The panel goes once the grant is seen; on the purchase step Skip moves on asking nothing,
    // Subscribe pressed twice asks once and moves on a moment later.
    void grantThenPurchase()
    {
        test::OnboardingRun run(Variant::Full, true);
        QVERIFY(run.ready);
        OnboardingFlow& flow = run.window.flow();
        QVERIFY(test::walkTo(flow, "permissions"));
        const qint64 permissions = flow.currentStepIndex();
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
        QCOMPARE(flow.currentStepIndex(), permissions + 1);
        QVERIFY(test::walkTo(flow, "purchase"));
        QTest::qWait(0);

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

    // Every step, the panel and a long transcription, in every catalogue: nothing cut off. A
    // platform theme setting its own font (qt6ct, dropping per-class fonts) changes no control's.
    void nothingIsCutOffInAnyCatalogue()
    {
        QFont desktop("DejaVu Sans");
        desktop.setPointSize(12);
        QApplication::setFont(desktop);
        const QFont body = theme::font(theme::TextStyle::Body);
        QCOMPARE(QApplication::font("QPushButton"), body);
        const QStringList catalogues = QDir(":/i18n").entryList({"marten_*.qm"});
        QVERIFY(catalogues.size() >= 2);
        for (const QString& catalogue : catalogues) {
            QTranslator translator;
            QVERIFY(translator.load(catalogue, ":/i18n"));
            QCoreApplication::installTranslator(&translator);
            for (const Variant variant : {Variant::Full, Variant::Simple}) {
                test::OnboardingRun run(variant, false, false);
                QVERIFY(run.ready);
                OnboardingFlow& flow = run.window.flow();
                const auto check = [&](const QString& where) {
                    QTest::qWait(0);
                    const QStringList cut = cutOff(&run.window);
                    QVERIFY2(cut.isEmpty(),
                             qPrintable(catalogue + ", " + where + ": " + cut.join(", ")));
                    for (const QWidget* control : run.window.findChildren<QWidget*>())
                        if (flow.currentStepIndex() == 0 && control->isVisible() &&
                            (control->inherits("QAbstractButton") ||
                             control->inherits("QLineEdit")))
                            QVERIFY2(control->font() == body, qPrintable(control->objectName()));
                };
                for (; flow.currentStep(); flow.nextStep()) {
                    if (test::isAt(flow, "testIt"))
                        flow.testItState().setTranscribedText(QString("word ").repeated(400));
                    check(stepName(flow.currentStep()));
                    if (test::isAt(flow, "permissions")) {
                        run.services.granter.grantable = true; // the taller panel
                        run.window.showInputAccessPanel();
                        check("input-access panel");
                        run.window.findChild<QWidget*>("inputAccessPanel")->close();
                    }
                }
            }
            QCoreApplication::removeTranslator(&translator);
        }
    }
};

MARTEN_TEST_MAIN(TestFTUEView)
#include "tst_ftueview.moc"
