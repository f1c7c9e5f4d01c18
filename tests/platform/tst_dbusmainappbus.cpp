#include "core/MainAppLink.h"
#include "fakes/Fakes.h"
#include "platform/linux/DBusMainAppBus.h"
#include "platform/linux/LazyMainAppBus.h"
#include "platform/linux/PortalAccentColour.h"
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

    // No bus: nothing fails, one line. A bus answering late: requests dropped with no second
    // line, waiters answered at the give-up; a request is one (s, a{ss}) signal.
    void aMissingOrLateBusCostsOneLine()
    {
        DBusMainAppBus offline(
            m_console, QDBusConnection::connectToBus("unix:path=/nonexistent/bus", "offline"));
        offline.observe("com.marten.authCompleted", m_context.get(), [](auto&&...) {});
        offline.post("com.marten.startOAuth", {});
        offline.post("com.marten.startPurchase", {});
        QCOMPARE(m_console.lines().size(), 1);
        QVERIFY(m_console.lines().first().startsWith("Main app messaging unavailable: "));
        m_console.clear();
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
    // Another name, other types, too many entries, too long a value dropped; the good one kept.
    void peerNotificationsAreChecked()
    {
        m_bus.observe("wanted", m_context.get(), [this](const QString& n, const UserInfo& info) {
            m_got.append({n, info});
        });
        bool listening = false;
        m_bus.whenListening(m_context.get(), [&listening] { listening = true; });
        QVERIFY(!listening); // only once the bus has had the subscription (a round trip)
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

    // The accent via the real portal (owning its name first, or the bus starts one without our
    // back end): appearance before KDE's, changes followed, keys read alone without ReadAll.
    void accentColourFromTheSettingsPortal()
    {
        const QString frontEnd = "/usr/libexec/xdg-desktop-portal";
        if (!QFile::exists(frontEnd) || !QFile::exists("/usr/bin/python3"))
            QSKIP("needs xdg-desktop-portal and python3-dbus");
        const QString backEndName = "org.freedesktop.impl.portal.desktop.martentest";
        QTemporaryDir portals;
        test::writeFile(
            portals.filePath("martentest.portal"),
            "[portal]\nDBusName=" + backEndName.toUtf8() +
                "\nInterfaces=org.freedesktop.impl.portal.Settings\nUseIn=martentest\n");
        QDBusConnection bus = QDBusConnection::sessionBus();
        QProcess backEnd;
        backEnd.start("/usr/bin/python3",
                      {MARTEN_SOURCE_DIR "/tests/platform/settings_portal.py", backEndName,
                       "org.freedesktop.appearance", "accent-color", "rgb", "0.2,0.8,0.3",
                       "org.kde.kdeglobals.General", "AccentColor", "s", "61,174,233"});
        QTRY_VERIFY_WITH_TIMEOUT(bus.interface()->isServiceRegistered(backEndName), 30000);
        qputenv("XDG_DESKTOP_PORTAL_DIR", QFile::encodeName(portals.path()));
        qputenv("XDG_CURRENT_DESKTOP", "martentest");
        QProcess portal;
        portal.start(frontEnd);
        const QString service = "org.freedesktop.portal.Desktop";
        QTRY_VERIFY_WITH_TIMEOUT(bus.interface()->isServiceRegistered(service), 30000);
        QCOMPARE(qint64(bus.interface()->servicePid(service).value()), portal.processId());

        const auto set = [&](const QStringList& arguments, const char* method = "Set") {
            QDBusMessage call = QDBusMessage::createMethodCall(
                backEndName, "/org/freedesktop/portal/desktop", "com.marten.Test", method);
            for (const QString& argument : arguments)
                call << argument;
            return bus.call(call).type() == QDBusMessage::ReplyMessage;
        };
        QStringList seen;
        const auto follow = [&seen](PortalAccentColour& accent) {
            QObject::connect(&accent, &AccentColourSource::changed, [&seen](auto rgb) {
                seen << (rgb ? QString::number(*rgb, 16).rightJustified(6, '0') : "none");
            });
            accent.start();
        };
        {
            PortalAccentColour accent;
            follow(accent);
            QTRY_COMPARE_WITH_TIMEOUT(seen, QStringList{"33cc4d"}, 30000);
            QVERIFY(set({"org.freedesktop.appearance", "accent-color", "rgb", "-1,-1,-1"}));
            QTRY_COMPARE_WITH_TIMEOUT(seen.last(), "3daee9", 30000);
            QVERIFY(set({"org.kde.kdeglobals.General", "AccentColor", "s", "oops"}));
            QTRY_COMPARE_WITH_TIMEOUT(seen.last(), "none", 30000);
        }
        QVERIFY(set({"org.freedesktop.appearance", "accent-color", "rgb", "0.2,0.8,0.3"}));
        QVERIFY(set({}, "FailReadAll"));
        seen.clear();
        PortalAccentColour alone;
        follow(alone);
        QTRY_COMPARE_WITH_TIMEOUT(seen, QStringList{"33cc4d"}, 30000);
        for (QProcess* process : {&portal, &backEnd}) {
            process->kill();
            process->waitForFinished();
        }
    }
};

MARTEN_CORE_TEST_MAIN(TestDBusMainAppBus)
#include "tst_dbusmainappbus.moc"
