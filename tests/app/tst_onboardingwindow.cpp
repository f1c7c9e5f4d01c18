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
    const QImage image = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QColor ring = focusring::colour();
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb px = line[x];
            if (qAbs(qRed(px) - ring.red()) + qAbs(qGreen(px) - ring.green()) +
                    qAbs(qBlue(px) - ring.blue()) <=
                12)
                ++count;
        }
    }
    return count;
}

} // namespace

class TestOnboardingWindow final : public QObject {
    Q_OBJECT
private slots:
    void centring_data()
    {
        QTest::addColumn<QRectF>("available");
        QTest::addColumn<QPointF>("origin");
        QTest::newRow("1440 x 900 below a 25 px bar")
            << QRectF(0, 25, 1440, 900) << QPointF(315.5, 225);
        // A screen smaller than the window: centred, overhanging on both sides.
        QTest::newRow("smaller than the window") << QRectF(100, 50, 640, 400) << QPointF(15.5, 0);
    }

    void centring()
    {
        QFETCH(QRectF, available);
        QFETCH(QPointF, origin);
        QCOMPARE(OnboardingWindow::centredOrigin(available, QSizeF(809, 500)), origin);
    }

    void windowShape_data()
    {
        QTest::addColumn<Variant>("variant");
        QTest::newRow("full") << Variant::Full;
        QTest::newRow("simple") << Variant::Simple;
    }

    void windowShape()
    {
        QFETCH(Variant, variant);
        fake::Services services;
        services.platform.homeDir = QDir::homePath();
        OnboardingWindow window(variant, services.platform);
        window.configureAndShow();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.windowTitle(), QStringLiteral("Welcome to Marten"));
        QCOMPARE(window.size(), QSize(809, 500));
        QCOMPARE(window.minimumSize(), window.maximumSize());
        QVERIFY(window.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(bool(window.windowFlags() & Qt::WindowStaysOnTopHint), variant == Variant::Simple);
    }

    // The flow starts once, however often the window is shown: one notice, one raise.
    void hideAndShowKeepsOneCompletionObserver()
    {
        fake::Services services;
        services.platform.homeDir = QDir::homePath();
        OnboardingWindow window(Variant::Full, services.platform);
        window.configureAndShow();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_VERIFY(!window.flow().isLoading());
        window.hide();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        services.scheduler.advance(100ms);
        QSignalSpy raised(&window.flow(), &OnboardingFlow::raiseRequested);
        services.console.clear();
        services.bus.deliver(QStringLiteral("com.marten.authCompleted"));
        QCOMPARE(raised.count(), 1);
        QCOMPARE(services.console.lines().count(
                     QStringLiteral("Received auth completion notification from main app")),
                 1);
    }

    void ctrlWClosesWithoutWritingAnything()
    {
        fake::Services services;
        services.platform.homeDir = QDir::homePath();
        OnboardingWindow window(Variant::Full, services.platform);
        window.configureAndShow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTRY_VERIFY(!window.flow().isLoading());
        QTest::keyClick(&window, Qt::Key_W, Qt::ControlModifier);
        QVERIFY(!window.isVisible());
        QCOMPARE(services.settings.writes, 0);
        QCOMPARE(services.autostart.registrations, 0);
    }

    // The window has no title bar, so the "×" is the only way out with the mouse; it must
    // be there before the decision as well as on every step.
    void closeButtonClosesLikeCtrlW_data() { windowShape_data(); }

    void closeButtonClosesLikeCtrlW()
    {
        QFETCH(Variant, variant);
        fake::Services services;
        services.platform.homeDir = QDir::homePath();
        OnboardingWindow window(variant, services.platform);
        window.configureAndShow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        CloseButton* close = window.closeButton();
        QVERIFY(close && close->isVisible());
        QCOMPARE(close->accessibleName(), QStringLiteral("Close"));
        QTRY_VERIFY(!window.flow().isLoading());
        for (qsizetype i = 0; i < window.flow().steps().size(); ++i) {
            QVERIFY(close->isVisible());
            // Nothing the view lays out covers it, and it keeps clear of the progress bar.
            QCOMPARE(window.childAt(close->geometry().center()), close);
            const auto* bar = window.findChild<ProgressBar*>();
            const QRect barRect(bar->mapTo(&window, QPoint()), bar->size());
            QVERIFY(close->geometry().top() > barRect.bottom());
            QVERIFY(close->geometry().right() < window.width());
            window.flow().nextStep();
            QTest::qWait(0);
        }
        window.flow().previousStep();
        QTest::mouseClick(close, Qt::LeftButton);
        QVERIFY(!window.isVisible());
        QCOMPARE(services.settings.writes, 0);
        QCOMPARE(services.autostart.registrations, 0);
    }

    // Focus starts on the step's main button, yet no ring shows until the keyboard is used
    // to move around; a click puts it away again.
    void focusRingOnlyAfterKeyboardNavigation()
    {
        fake::Services services;
        services.platform.homeDir = QDir::homePath();
        OnboardingWindow window(Variant::Full, services.platform);
        window.configureAndShow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTRY_VERIFY(!window.flow().isLoading());
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
        // Ctrl+Return still presses the focused step button while no ring is drawn.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(window.flow().currentStepIndex(), 1);
        QCOMPARE(ringPixels(window), 0);
    }
};

MARTEN_TEST_MAIN(TestOnboardingWindow)
#include "tst_onboardingwindow.moc"
