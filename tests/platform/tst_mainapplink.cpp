#include "core/OnboardingFlow.h"
#include "fakes/Fakes.h"
#include "platform/linux/DBusMainAppBus.h"
#include "support/TestEnv.h"

#include <QDBusConnectionInterface>
#include <QProcess>
#include <QSignalSpy>

using namespace marten;

// The flow on fakes but for its messages, which go over the test bus and into the console.
// The buttons' part is theirs to test; here the flow is asked directly.
class TestMainAppLink final : public QObject, public MainAppBus {
    Q_OBJECT
    fake::Services m_fakes;
    DBusMainAppBus m_bus{m_fakes.console};
    Platform m_platform{m_fakes.scheduler,
                        m_fakes.probe,
                        m_fakes.inputAccessHelp,
                        m_fakes.settings,
                        m_fakes.autostart,
                        m_fakes.app,
                        m_fakes.urls,
                        *this,
                        m_fakes.console,
                        AssetPaths(),
                        QDir::homePath()};
    std::unique_ptr<OnboardingFlow> m_flow;
    QList<QPair<QString, UserInfo>> m_seen; // by an independent connection
    const QString m_token = QDir::homePath() + "/.marten_auth_local.json";

    void post(const QString& name, const UserInfo& info) override
    {
        m_fakes.console.line("[post] " + name);
        m_bus.post(name, info);
    }
    void observe(const QString& n, QObject* c, Handler h) override { m_bus.observe(n, c, h); }

    void start(FTUEStep step, bool signedIn)
    {
        signedIn ? test::writeFile(m_token, "{\"token\":\"t\"}") : void(QFile::remove(m_token));
        m_flow = std::make_unique<OnboardingFlow>(Variant::Full, m_platform);
        m_flow->start();
        m_fakes.scheduler.advance(std::chrono::milliseconds(0)); // subscribes
        QVERIFY(QTest::qWaitFor([this] { return !m_flow->isLoading(); }));
        while (m_flow->currentStep() && m_flow->currentStep() != step)
            m_flow->nextStep();
        m_fakes.console.clear();
        m_seen.clear();
    }

    // Sent from another process, as the main application does, after a round trip that puts
    // the flow's observer in force on the bus. It always raises the window.
    void authCompletedFromOutside()
    {
        QSignalSpy raised(m_flow.get(), &OnboardingFlow::raiseRequested);
        QDBusConnection::sessionBus().interface()->isServiceRegistered("org.freedesktop.DBus");
        const QString args =
            "emit --session --object-path /com/marten/DistributedNotifications --signal "
            "com.marten.DistributedNotifications.Notification 'com.marten.authCompleted' "
            "{'from':'test'}";
        QCOMPARE(QProcess::execute("gdbus", args.split(' ')), 0);
        QTRY_COMPARE(raised.count(), 1);
    }

public slots:
    void onSignal(const QString& n, const QMap<QString, QString>& u) { m_seen.append({n, u}); }

private slots:
    void initTestCase()
    {
        if (!QDBusConnection::sessionBus().isConnected())
            QSKIP("needs a session bus: run under dbus-run-session");
        m_fakes.probe.granted = true;
        auto listener = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "listener");
        listener.connect({}, "/com/marten/DistributedNotifications",
                         "com.marten.DistributedNotifications", "Notification", this,
                         SLOT(onSignal(QString, QMap<QString, QString>)));
        listener.interface()->isServiceRegistered("org.freedesktop.DBus");
    }

    // A press sends its request between its two lines and moves on one second later; a
    // second press while that move is pending does nothing.
    void twoQuickPresses_data()
    {
        QTest::addColumn<FTUEStep>("step");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("sign-in") << FTUEStep::signIn
                                 << QStringList{"=== handleSignIn called ===",
                                                "[post] com.marten.startOAuth",
                                                "Sent OAuth request to main app"};
        QTest::newRow("purchase") << FTUEStep::purchase
                                  << QStringList{"=== handlePurchase called ===",
                                                 "[post] com.marten.startPurchase",
                                                 "Sent purchase request to main app"};
    }
    void twoQuickPresses()
    {
        QFETCH(FTUEStep, step);
        QFETCH(QStringList, lines);
        start(step, step == FTUEStep::purchase);
        const auto press = [this, step] {
            step == FTUEStep::signIn ? m_flow->requestSignIn() : m_flow->requestPurchase();
        };
        press();
        m_fakes.scheduler.advance(std::chrono::milliseconds(500));
        press();
        QCOMPARE(m_fakes.console.lines(), lines);
        m_fakes.console.clear();
        authCompletedFromOutside(); // no token, or no sign-in step: nothing moves
        QCOMPARE(m_flow->currentStepIndex(), 1);
        // Sent after a round trip on the flow's connection, the notice arrives after its posts.
        const QPair<QString, UserInfo> sent{lines.at(1).mid(7), {{"source", "ftue"}}};
        QTRY_COMPARE(m_seen,
                     (decltype(m_seen){sent, {"com.marten.authCompleted", {{"from", "test"}}}}));
        m_fakes.scheduler.advance(std::chrono::seconds(1));
        QCOMPARE(m_flow->currentStepIndex(), 2);
    }

    void signedInMeanwhileMovesPastSignIn()
    {
        start(FTUEStep::welcome, false);
        test::writeFile(m_token, "{\"token\":\"t\"}");
        authCompletedFromOutside();
        QCOMPARE(m_flow->currentStep(), FTUEStep::howToUse);
    }
};

MARTEN_TEST_MAIN(TestMainAppLink)
#include "tst_mainapplink.moc"
