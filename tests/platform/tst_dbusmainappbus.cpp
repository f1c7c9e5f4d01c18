#include "core/MainAppLink.h"
#include "fakes/Fakes.h"
#include "platform/linux/DBusMainAppBus.h"
#include "platform/linux/LazyMainAppBus.h"
#include "support/CoreTestEnv.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QProcess>

#include <future>

using namespace marten;
const QStringList kSend{"--session", "--type=signal", "/com/marten/DistributedNotifications",
                        "com.marten.DistributedNotifications.Notification"};

class TestDBusMainAppBus final : public QObject {
    Q_OBJECT
    fake::Console m_console;
    DBusMainAppBus m_bus{m_console};
    QList<QDBusMessage> m_heard; // on a connection of its own, as the main application hears
    QList<QPair<QString, UserInfo>> m_got;
    std::unique_ptr<QObject> m_context;

public slots:
    void heard(const QDBusMessage& message) { m_heard.append(message); }

private slots:
    void initTestCase()
    {
        if (!QDBusConnection::sessionBus().isConnected())
            QSKIP("needs a session bus: run under dbus-run-session");
        auto listener = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "listener");
        QVERIFY(listener.connect({}, "/com/marten/DistributedNotifications",
                                 "com.marten.DistributedNotifications", "Notification", this,
                                 SLOT(heard(QDBusMessage))));
        listener.interface()->isServiceRegistered("org.freedesktop.DBus"); // rule in force
    }

    void init()
    {
        m_console.clear();
        m_heard.clear();
        m_got.clear();
        m_context = std::make_unique<QObject>();
    }

    // The patience and its line are checked end to end; here the bus answers after it ran
    // out, and what was asked before and after is dropped without a second line. Whoever
    // waits for the subscription is answered when the bus is given up on. A request is one
    // (s, a{ss}) signal, as the main application reads it.
    void aBusThatAnswersLateIsNotUsed()
    {
        fake::Scheduler scheduler;
        std::promise<void> release;
        std::shared_future<void> released = release.get_future().share();
        {
            LazyMainAppBus bus(m_console, scheduler, std::chrono::seconds(2), [released] {
                released.wait();
                return QDBusConnection::sessionBus();
            });
            bus.post("com.marten.startPurchase", {});
            bool ready = false;
            bus.whenListening(m_context.get(), [&ready] { ready = true; });
            QVERIFY(!ready);
            scheduler.advance(std::chrono::seconds(2));
            QVERIFY(ready);
            QCOMPARE(m_console.lines().size(), 1);
            release.set_value();
            QTRY_VERIFY(!bus.isWaitingForBus());
            QCoreApplication::processEvents();
            bus.post("com.marten.startPurchase", {});
        }
        // Sent on the same connection after anything the late bus could have sent.
        fake::Console linkLines;
        MainAppLink(m_bus, linkLines).handleSignIn();
        QTRY_VERIFY(!m_heard.isEmpty());
        const QDBusMessage& signal = m_heard.constFirst();
        QCOMPARE(signal.signature(), QStringLiteral("sa{ss}"));
        QCOMPARE(signal.arguments().constFirst(), QVariant("com.marten.startOAuth"));
        QCOMPARE(qdbus_cast<UserInfo>(signal.arguments().at(1)), (UserInfo{{"source", "ftue"}}));
        QCOMPARE(m_console.lines().size(), 1);
    }
    // Any peer may send these: one under another name, with other value types, too many
    // entries or too long a value is dropped, the good notice sent after them kept. They are
    // sent as soon as the bus confirms the subscription, and none is missed.
    void peerNotificationsAreChecked()
    {
        m_bus.observe("wanted", m_context.get(), [this](const QString& n, const UserInfo& info) {
            m_got.append({n, info});
        });
        bool listening = false;
        m_bus.whenListening(m_context.get(), [&listening] { listening = true; });
        QTRY_VERIFY(listening);
        for (const QStringList& sent :
             {QStringList{"string:other", "dict:string:string:a,b"},
              QStringList{"string:wanted", "dict:string:int32:a,1"},
              QStringList{"string:wanted",
                          "dict:string:string:" + QStringList(500, "k,v").join(',')},
              QStringList{"string:wanted", "dict:string:string:a," + QString(100000, 'x')},
              QStringList{"string:wanted", "dict:string:string:a,b"}})
            QCOMPARE(QProcess::execute("dbus-send", kSend + sent), 0);
        QTRY_COMPARE(m_got, (decltype(m_got){{"wanted", {{"a", "b"}}}}));
    }

    void withoutABusNothingFailsAndOneLineIsWritten()
    {
        DBusMainAppBus offline(
            m_console, QDBusConnection::connectToBus("unix:path=/nonexistent/bus", "offline"));
        offline.observe("com.marten.authCompleted", m_context.get(), [](auto&&...) {});
        offline.post("com.marten.startOAuth", {});
        offline.post("com.marten.startPurchase", {});
        QCOMPARE(m_console.lines().size(), 1);
        QVERIFY(m_console.lines().first().startsWith("Main app messaging unavailable: "));
    }
};

MARTEN_CORE_TEST_MAIN(TestDBusMainAppBus)
#include "tst_dbusmainappbus.moc"
