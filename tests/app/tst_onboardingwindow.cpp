#include "app/OnboardingWindow.h"
#include "flow/FTUEView.h"
#include "platform/fake/Fakes.h"
#include "support/TestEnv.h"

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
        // Raised at once, and again 0.1 s later.
        QCOMPARE(services.app.raises, 1);
        services.scheduler.advance(100ms);
        QCOMPARE(services.app.raises, 2);
    }

    void ctrlWClosesWithoutWritingAnything()
    {
        fake::Services services;
        services.platform.homeDir = QDir::homePath();
        OnboardingWindow window(Variant::Full, services.platform);
        window.configureAndShow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTRY_VERIFY(!window.flow()->isLoading());
        QTest::keyClick(&window, Qt::Key_W, Qt::ControlModifier);
        QVERIFY(!window.isVisible());
        QVERIFY(services.defaults.values.isEmpty());
        QCOMPARE(services.loginItem.registrations, 0);
    }
};

MARTEN_TEST_MAIN(TestOnboardingWindow)
#include "tst_onboardingwindow.moc"
