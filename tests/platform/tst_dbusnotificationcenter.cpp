#include "fakes/Fakes.h"
#include "platform/linux/DBusMainAppBus.h"
#include "platform/linux/LazyMainAppBus.h"
#include "support/TestEnv.h"

#include <QDBusConnectionInterface>
#include <QProcess>
#include <QThread>

#include <future>

using namespace marten;
const QStringList kSend{"--session", "--type=signal", "/com/marten/DistributedNotifications",
                        "com.marten.DistributedNotifications.Notification"};

class TestDBusNotificationCenter final : public QObject {
    Q_OBJECT
    fake::Console m_console;
    QList<QPair<QString, UserInfo>> m_got;
    std::unique_ptr<QObject> m_context;

    // Starts a fresh record, observes `name` and returns once the bus has the match rule.
    void observe(DBusMainAppBus& centre, const QString& name,
                 const QDBusConnection& bus = QDBusConnection::sessionBus())
    {
        m_console.clear();
        m_got.clear();
        m_context = std::make_unique<QObject>();
        centre.observe(name, m_context.get(), [this](const QString& n, const UserInfo& info) {
            QVERIFY(QThread::currentThread() == thread());
            m_got.append({n, info});
        });
        bus.interface()->isServiceRegistered("org.freedesktop.DBus");
    }

private slots:
    void initTestCase()
    {
        if (!QDBusConnection::sessionBus().isConnected())
            QSKIP("needs a session bus: run under dbus-run-session");
    }

    // Read on a second connection; what that reader accepts, dbus-send pins down below.
    void postIsOneSignalOthersCanRead()
    {
        const auto bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "reader");
        DBusMainAppBus centre(m_console), reader(m_console, bus);
        observe(reader, "com.marten.startOAuth", bus);
        centre.post("com.marten.startOAuth", {{"source", "ftue"}});
        QTRY_COMPARE(m_got, (decltype(m_got){{"com.marten.startOAuth", {{"source", "ftue"}}}}));
        QVERIFY(m_console.lines().isEmpty());
    }

    // Any peer may send these: each row is dropped, the good notice sent after it kept.
    void peerNotificationsAreChecked_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("other name") << QStringList{"string:other", "dict:string:string:a,b"};
        QTest::newRow("empty name") << QStringList{"string:", "dict:string:string:a,b"};
        QTest::newRow("no user info") << QStringList{"string:wanted"};
        QTest::newRow("extra") << QStringList{"string:wanted", "dict:string:string:a,b", "int32:1"};
        QTest::newRow("int values") << QStringList{"string:wanted", "dict:string:int32:a,1"};
        QTest::newRow("too many entries") << QStringList{
            "string:wanted", "dict:string:string:" + QStringList(500, "k,v").join(',')};
        QTest::newRow("too long") << QStringList{"string:wanted",
                                                 "dict:string:string:a," + QString(100000, 'x')};
    }
    void peerNotificationsAreChecked()
    {
        QFETCH(QStringList, args);
        DBusMainAppBus centre(m_console);
        observe(centre, "wanted");
        for (const QStringList& sent :
             {args, QStringList{"string:wanted", "dict:string:string:a,b"}})
            QCOMPARE(QProcess::execute("dbus-send", kSend + sent), 0);
        QTRY_COMPARE(m_got, (decltype(m_got){{"wanted", {{"a", "b"}}}}));
    }

    void withoutABusNothingFailsAndOneLineIsWritten()
    {
        DBusMainAppBus offline(
            m_console, QDBusConnection::connectToBus("unix:path=/nonexistent/bus", "offline"));
        observe(offline, "com.marten.authCompleted");
        offline.post("com.marten.startOAuth", {});
        offline.post("com.marten.startPurchase", {});
        QCOMPARE(m_console.lines().size(), 1);
        QVERIFY(m_console.lines().first().startsWith("Main app messaging unavailable: "));
    }

    // A bus that never answers holds only the connecting thread: after the patience there is
    // one line, and whatever was asked is dropped, also when the answer comes late.
    void aSilentBusIsGivenUpOnAfterThePatience()
    {
        fake::Scheduler scheduler;
        std::promise<void> release;
        std::shared_future<void> released = release.get_future().share();
        m_console.clear();
        {
            LazyMainAppBus bus(m_console, scheduler, std::chrono::seconds(2), [released] {
                released.wait();
                return QDBusConnection::sessionBus();
            });
            QObject context;
            bus.observe("com.marten.authCompleted", &context, [](auto&&...) { QFAIL("dropped"); });
            bus.post("com.marten.startOAuth", {});
            QVERIFY(bus.isWaitingForBus());
            scheduler.advance(std::chrono::milliseconds(1999));
            QVERIFY(m_console.lines().isEmpty());
            scheduler.advance(std::chrono::milliseconds(1));
            QCOMPARE(m_console.lines(),
                     QStringList{"Main app messaging unavailable: the session bus did not answer "
                                 "within 2 s"});
            release.set_value();
            QTRY_VERIFY(!bus.isWaitingForBus());
            QCoreApplication::processEvents();
            bus.post("com.marten.startPurchase", {});
        }
        QCOMPARE(m_console.lines().size(), 1);
    }

    // A bus that answers in time gets what was asked while it connected, in order.
    void requestsMadeWhileConnectingGoOutOnceConnected()
    {
        fake::Scheduler scheduler;
        LazyMainAppBus bus(m_console, scheduler);
        m_console.clear();
        m_got.clear();
        m_context = std::make_unique<QObject>();
        bus.observe("com.marten.authCompleted", m_context.get(),
                    [this](const QString& n, const UserInfo& info) {
                        m_got.append({n, info});
                    });
        bus.post("com.marten.authCompleted", {{"source", "ftue"}});
        QTRY_COMPARE(m_got.size(), 1);
        QCOMPARE(m_got.constFirst().second.value("source"), QStringLiteral("ftue"));
        QVERIFY(m_console.lines().isEmpty());
    }
};

MARTEN_TEST_MAIN(TestDBusNotificationCenter)
#include "tst_dbusnotificationcenter.moc"
