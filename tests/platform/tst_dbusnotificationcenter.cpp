#include "platform/fake/Fakes.h"
#include "platform/linux/DBusNotificationCenter.h"
#include "support/TestEnv.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

using namespace marten;

namespace {

const QString kPath = QStringLiteral("/com/marten/DistributedNotifications");
const QString kInterface = QStringLiteral("com.marten.DistributedNotifications");

// Returns once the bus has handled everything `bus` sent so far, match rules included.
void roundTrip(const QDBusConnection& bus)
{
    bus.interface()->isServiceRegistered(QStringLiteral("org.freedesktop.DBus"));
}

QDBusMessage notification(const QVariantList& args)
{
    QDBusMessage m = QDBusMessage::createSignal(kPath, kInterface, QStringLiteral("Notification"));
    m.setArguments(args);
    return m;
}

} // namespace

class TestDBusNotificationCenter final : public QObject {
    Q_OBJECT

    fake::Console m_console;
    QList<QDBusMessage> m_seen; // by the independent peer connection
    struct Delivery {
        QString name;
        UserInfo info;
        bool onMainThread;
    };
    QList<Delivery> m_deliveries; // to observers of the centre under test

    QDBusConnection peer() const { return QDBusConnection(QStringLiteral("peer")); }

    NotificationCenter::Handler recorder()
    {
        return [this](const QString& name, const UserInfo& info) {
            m_deliveries.append({name, info, QThread::currentThread() == qApp->thread()});
        };
    }

public slots:
    void onPeerSignal(const QDBusMessage& message) { m_seen.append(message); }

private slots:
    void initTestCase()
    {
        qDBusRegisterMetaType<UserInfo>();
        if (!QDBusConnection::sessionBus().isConnected())
            QSKIP("needs a session bus: run under dbus-run-session");
        QDBusConnection bus =
            QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("peer"));
        bus.connect(QString(), kPath, kInterface, QStringLiteral("Notification"), this,
                    SLOT(onPeerSignal(QDBusMessage)));
        roundTrip(bus);
    }

    void init()
    {
        m_console.clear();
        m_seen.clear();
        m_deliveries.clear();
    }

    void postIsOneSignalOthersCanRead()
    {
        DBusNotificationCenter centre(m_console);
        centre.post(QString(), {{QStringLiteral("ignored"), QStringLiteral("yes")}});
        centre.post(QStringLiteral("com.marten.startOAuth"),
                    {{QStringLiteral("source"), QStringLiteral("ftue")}});
        QTRY_COMPARE(m_seen.size(), 1);
        const QDBusMessage& message = m_seen.first();
        QCOMPARE(message.path(), kPath);
        QCOMPARE(message.interface(), kInterface);
        QCOMPARE(message.signature(), QStringLiteral("sa{ss}"));
        QCOMPARE(message.arguments().at(0).toString(), QStringLiteral("com.marten.startOAuth"));
        UserInfo info;
        message.arguments().at(1).value<QDBusArgument>() >> info;
        QCOMPARE(info, (UserInfo{{QStringLiteral("source"), QStringLiteral("ftue")}}));
        QVERIFY(m_console.lines().isEmpty());
    }

    // Anyone on the bus may send these; only well-formed ones for the observed name count.
    void observeFiltersWhatPeersSend()
    {
        DBusNotificationCenter centre(m_console);
        QObject context;
        const QString wanted = QStringLiteral("com.marten.test.wanted");
        centre.observe(wanted, &context, recorder());
        roundTrip(QDBusConnection::sessionBus());

        UserInfo many;
        for (int i = 0; i < 500; ++i)
            many.insert(QString::number(i), QStringLiteral("v"));
        const UserInfo longValue{{QStringLiteral("k"), QString(100000, QLatin1Char('x'))}};
        const QVariantMap variants{{QStringLiteral("k"), 1}};
        const UserInfo good{{QStringLiteral("a"), QStringLiteral("b")}};
        for (const QVariantList& args : QList<QVariantList>{
                 {QStringLiteral("com.marten.test.other"), QVariant::fromValue(good)},
                 {wanted},
                 {wanted, QVariant::fromValue(variants)},
                 {wanted, QVariant::fromValue(many)},
                 {wanted, QVariant::fromValue(longValue)},
                 {wanted, QVariant::fromValue(good), QStringLiteral("extra")},
                 {QString(), QVariant::fromValue(good)},
                 // One sender's messages arrive in order: once this is in, so is the rest.
                 {wanted, QVariant::fromValue(good)}})
            peer().send(notification(args));

        QTRY_COMPARE(m_deliveries.size(), 1);
        QTest::qWait(50);
        QCOMPARE(m_deliveries.size(), 1);
        QCOMPARE(m_deliveries.first().name, wanted);
        QCOMPARE(m_deliveries.first().info, good);
        QVERIFY(m_deliveries.first().onMainThread);
    }

    // A peer outside our code (gdbus is exercised by the flow's tests).
    void dbusSendPeer()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("dbus-send")).isEmpty())
            QSKIP("dbus-send is not installed");
        DBusNotificationCenter centre(m_console);
        QObject context;
        centre.observe(QStringLiteral("com.marten.authCompleted"), &context, recorder());
        roundTrip(QDBusConnection::sessionBus());
        QCOMPARE(QProcess::execute(QStringLiteral("dbus-send"),
                                   {QStringLiteral("--session"), QStringLiteral("--type=signal"),
                                    kPath, kInterface + QStringLiteral(".Notification"),
                                    QStringLiteral("string:com.marten.authCompleted"),
                                    QStringLiteral("dict:string:string:source,shell")}),
                 0);
        QTRY_COMPARE(m_deliveries.size(), 1);
        QCOMPARE(m_deliveries.first().info,
                 (UserInfo{{QStringLiteral("source"), QStringLiteral("shell")}}));
    }

    void withoutABusNothingFailsAndOneLineIsWritten()
    {
        DBusNotificationCenter offline(
            m_console, QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"),
                                                     QStringLiteral("offline")));
        QObject context;
        offline.post(QStringLiteral("com.marten.startOAuth"), {});
        offline.observe(QStringLiteral("com.marten.authCompleted"), &context, recorder());
        offline.post(QStringLiteral("com.marten.startPurchase"), {});
        QCOMPARE(m_console.lines().size(), 1);
        QVERIFY(m_console.lines().first().startsWith(
            QStringLiteral("Main app messaging unavailable: ")));
    }
};

MARTEN_TEST_MAIN(TestDBusNotificationCenter)
#include "tst_dbusnotificationcenter.moc"
