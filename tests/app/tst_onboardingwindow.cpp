#include "app/FTUEView.h"
#include "app/OnboardingWindow.h"
#include "core/OnboardingFlow.h"
#include "fakes/Fakes.h"
#include "support/TestEnv.h"
#include "ui/FocusRing.h"
#include "ui/NavigationControls.h"
#include "ui/ProgressBar.h"

#include <QSignalSpy>

using namespace marten;
using namespace std::chrono_literals;

namespace {

// Pixels of the window that are (nearly) the focus ring's colour.
int ringPixels(QWidget& window)
{
    const QImage image = window.grab().toImage();
    return test::pixelsNear(image, image.rect(), focusring::colour(), 12);
}

} // namespace

class TestOnboardingWindow final : public QObject {
    Q_OBJECT
private slots:
    // Centred on the available area, below a menu bar and on a screen smaller than the
    // window alike (overhanging on both sides then).
    void centring()
    {
        const QSizeF size(809, 500);
        for (const QRectF available : {QRectF(0, 25, 1440, 900), QRectF(100, 50, 640, 400)})
            QCOMPARE(QRectF(OnboardingWindow::centredOrigin(available, size), size).center(),
                     available.center());
    }

    void variants_data()
    {
        QTest::addColumn<Variant>("variant");
        QTest::newRow("full") << Variant::Full;
        QTest::newRow("simple") << Variant::Simple;
    }

    // The window has no title bar, so the "×" is the only way out with the mouse: it must be
    // there on every step, clear of the bar, and close without writing anything.
    void closeButtonOnEveryStep_data() { variants_data(); }
    void closeButtonOnEveryStep()
    {
        QFETCH(Variant, variant);
        test::OnboardingRun s(variant);
        QVERIFY(s.ready);
        OnboardingWindow& window = s.window;
        QCOMPARE(bool(window.windowFlags() & Qt::WindowStaysOnTopHint), variant == Variant::Simple);
        CloseButton* close = window.closeButton();
        const auto* bar = window.findChild<ProgressBar*>();
        for (; window.flow().currentStep(); window.flow().nextStep()) {
            QTest::qWait(0);
            QCOMPARE(window.childAt(close->geometry().center()), close);
            QVERIFY(close->geometry().top() > bar->mapTo(&window, QPoint(0, bar->height())).y());
            QVERIFY(close->geometry().right() < window.width());
        }
        window.flow().previousStep();
        QTest::mouseClick(close, Qt::LeftButton);
        QVERIFY(!window.isVisible());
        QCOMPARE(s.services.settings.writes + s.services.autostart.registrations, 0);
    }

    // Focus starts on the step's main button, yet no ring shows until the keyboard is used
    // to move around; a click puts it away again.
    void focusRingOnlyAfterKeyboardNavigation()
    {
        test::OnboardingRun s(Variant::Full);
        QVERIFY(s.ready);
        OnboardingWindow& window = s.window;
        QTest::qWait(0);
        QCOMPARE(QApplication::focusWidget(), window.view()->stepButton());
        QCOMPARE(ringPixels(window), 0);

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(ringPixels(window) > 20);

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), window.view()->stepButton());
        QVERIFY(ringPixels(window) > 20);

        auto* bar = window.findChild<ProgressBar*>();
        QTest::mouseClick(bar, Qt::LeftButton);
        QVERIFY(!focusring::keyboardNavigation(&window));
        QCOMPARE(ringPixels(window), 0);
        // Return alone does not press the step button, even with the focus on it; Ctrl+Return
        // does, while no ring is drawn.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
        // A press would start animateClick, which holds the button down until its timer fires.
        QVERIFY(!window.view()->stepButton()->isDown());
        QCOMPARE(window.flow().currentStepIndex(), 0);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(window.flow().currentStepIndex(), 1);
        QCOMPARE(ringPixels(window), 0);
    }
};

MARTEN_TEST_MAIN(TestOnboardingWindow)
#include "tst_onboardingwindow.moc"
