#include "app/FTUEView.h"
#include "core/OnboardingFlow.h"
#include "support/TestEnv.h"
#include "ui/FocusRing.h"
#include "ui/NavigationControls.h"
#include "ui/ProgressBar.h"

using namespace marten;

// Pixels of the window that are (nearly) the focus ring's colour.
static int ringPixels(QWidget& window)
{
    const QImage image = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const auto* pixels = reinterpret_cast<const QRgb*>(image.constBits());
    const QRgb ring = focusring::colour().rgb();
    return int(std::count_if(pixels, pixels + image.width() * image.height(), [&](QRgb c) {
        return qAbs(qRed(c) - qRed(ring)) + qAbs(qGreen(c) - qGreen(ring)) +
                   qAbs(qBlue(c) - qBlue(ring)) <=
               12;
    }));
}

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

    // Focus starts on the step, no ring until keys move it: Tab to the step's button, Shift+Tab
    // from there round to Close and back again. A click puts the ring away.
    void focusRingOnlyAfterKeyboardNavigation()
    {
        test::OnboardingRun s(Variant::Full);
        QVERIFY(s.ready);
        OnboardingWindow& window = s.window;
        QTest::qWait(0);
        QCOMPARE(QApplication::focusWidget(), window.view()->currentScreen());
        QCOMPARE(ringPixels(window), 0);

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), window.view()->stepButton());
        QVERIFY(ringPixels(window) > 20);

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), window.closeButton());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), window.view()->stepButton());
        QVERIFY(ringPixels(window) > 20);

        QTest::mouseClick(window.findChild<ProgressBar*>(), Qt::LeftButton);
        QCOMPARE(ringPixels(window), 0);
        // Return alone does not press the step button, even with the focus on it; Ctrl+Return
        // does, while no ring is drawn.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
        // A press would start animateClick, which holds the button down until its timer fires.
        QVERIFY(!window.view()->stepButton()->isDown() && window.flow().currentStepIndex() == 0);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(window.flow().currentStepIndex(), 1);
        QCOMPARE(ringPixels(window), 0);
    }
};

MARTEN_TEST_MAIN(TestOnboardingWindow)
#include "tst_onboardingwindow.moc"
