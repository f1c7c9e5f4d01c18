#include "app/OnboardingWindow.h"
#include "app/FTUEView.h"
#include "core/OnboardingFlow.h"
#include "fakes/Fakes.h"
#include "support/TestEnv.h"

#include <QSignalSpy>

using namespace marten;
using namespace std::chrono_literals;

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
};

MARTEN_TEST_MAIN(TestOnboardingWindow)
#include "tst_onboardingwindow.moc"
