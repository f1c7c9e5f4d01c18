#include "platform/linux/DBusMainAppBus.h"

#include "core/platform/Console.h"

#include <QDBusArgument>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>

#include <optional>

namespace marten {

const QString DBusMainAppBus::path = QStringLiteral("/com/marten/DistributedNotifications");
const QString DBusMainAppBus::interface = QStringLiteral("com.marten.DistributedNotifications");
const QString DBusMainAppBus::member = QStringLiteral("Notification");

namespace {

const QLatin1String kSignature("sa{ss}");

// Reads an a{ss} argument entry by entry, giving up as soon as it grows past the limits,
// so a hostile peer cannot make us build a huge map.
std::optional<UserInfo> readUserInfo(const QDBusArgument& argument)
{
    UserInfo info;
    qsizetype chars = 0;
    int entries = 0;
    bool tooBig = false;
    argument.beginMap();
    while (!argument.atEnd()) {
        if (++entries > DBusMainAppBus::maxUserInfoEntries) {
            tooBig = true;
            break;
        }
        QString key;
        QString value;
        argument.beginMapEntry();
        argument >> key >> value;
        argument.endMapEntry();
        chars += key.size() + value.size();
        if (chars > DBusMainAppBus::maxUserInfoChars) {
            tooBig = true;
            break;
        }
        info.insert(key, value);
    }
    // Always closed, even when abandoned half-way: the reader of the map is freed here.
    argument.endMap();
    if (tooBig)
        return std::nullopt;
    return info;
}

// Receives the signals of one observation and hands the valid ones to its handler. A child
// of the observation's context, so the bus connection drops it when the context goes.
class SignalReceiver final : public QObject {
    Q_OBJECT
public:
    SignalReceiver(QString name, MainAppBus::Handler handler, QObject* parent)
        : QObject(parent), m_name(std::move(name)), m_handler(std::move(handler))
    {
    }

public slots:
    void onSignal(const QDBusMessage& message)
    {
        if (message.signature() != kSignature)
            return;
        const QList<QVariant> args = message.arguments();
        if (args.size() != 2 || args.at(0).toString() != m_name)
            return;
        if (!args.at(1).canConvert<QDBusArgument>())
            return;
        const std::optional<UserInfo> info = readUserInfo(args.at(1).value<QDBusArgument>());
        if (info)
            m_handler(m_name, *info);
    }

private:
    QString m_name;
    MainAppBus::Handler m_handler;
};

} // namespace

DBusMainAppBus::DBusMainAppBus(Console& console, QDBusConnection connection)
    : m_console(console), m_connection(std::move(connection))
{
    qDBusRegisterMetaType<UserInfo>();
}

void DBusMainAppBus::reportUnavailable(const QString& reason)
{
    if (m_reported)
        return;
    m_reported = true;
    m_console.line(QStringLiteral("Main app messaging unavailable: ") + reason);
}

void DBusMainAppBus::post(const QString& name, const UserInfo& userInfo)
{
    if (name.isEmpty())
        return;
    if (!m_connection.isConnected()) {
        reportUnavailable(m_connection.lastError().isValid() ? m_connection.lastError().message()
                                                             : QStringLiteral("no session bus"));
        return;
    }
    QDBusMessage signal = QDBusMessage::createSignal(path, interface, member);
    signal << name << QVariant::fromValue(userInfo);
    // Queues the message for the connection's own thread; never waits for the bus.
    if (!m_connection.send(signal))
        reportUnavailable(QStringLiteral("could not send ") + name);
}

void DBusMainAppBus::observe(const QString& name, QObject* context, Handler handler)
{
    if (name.isEmpty() || !context || !handler)
        return;
    if (!m_connection.isConnected()) {
        reportUnavailable(m_connection.lastError().isValid() ? m_connection.lastError().message()
                                                             : QStringLiteral("no session bus"));
        return;
    }
    auto* receiver = new SignalReceiver(name, std::move(handler), context);
    // Any sender; the bus filters on the name through the arg0 match. The signature is left
    // open here and checked on arrival, so a malformed signal is dropped, not misread.
    const bool subscribed =
        m_connection.connect(QString(), path, interface, member, QStringList{name}, QString(),
                             receiver, SLOT(onSignal(QDBusMessage)));
    if (!subscribed) {
        delete receiver;
        reportUnavailable(QStringLiteral("could not listen for ") + name);
    }
}

void DBusMainAppBus::whenListening(QObject* context, std::function<void()> ready)
{
    if (!context || !ready)
        return;
    if (!m_connection.isConnected()) {
        ready(); // nothing to wait for: no subscription was made
        return;
    }
    const QDBusMessage ping = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus.Peer"), QStringLiteral("Ping"));
    // An error answer is a round trip too; a bus that stops answering is left to the
    // caller's own limit, and the call gives up by itself soon after.
    auto* watcher = new QDBusPendingCallWatcher(m_connection.asyncCall(ping, 5000), context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                     [watcher, ready = std::move(ready)] {
                         watcher->deleteLater();
                         ready();
                     });
}

} // namespace marten

#include "DBusMainAppBus.moc"
