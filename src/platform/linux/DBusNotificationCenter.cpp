#include "platform/linux/DBusNotificationCenter.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>

namespace marten {

const QString DBusNotificationCenter::path = QStringLiteral("/com/marten/DistributedNotifications");
const QString DBusNotificationCenter::interface =
    QStringLiteral("com.marten.DistributedNotifications");
const QString DBusNotificationCenter::member = QStringLiteral("Notification");

namespace {

// Receives the matching signals of one observation and hands them to its handler.
class SignalReceiver final : public QObject {
    Q_OBJECT
public:
    SignalReceiver(QString name, NotificationCenter::Handler handler, QObject* parent)
        : QObject(parent), m_name(std::move(name)), m_handler(std::move(handler))
    {
    }

public slots:
    void onSignal(const QDBusMessage& message)
    {
        const QList<QVariant> args = message.arguments();
        if (message.signature() != QLatin1String("sa{ss}") || args.size() != 2)
            return;
        if (args.at(0).toString() != m_name)
            return;
        UserInfo info;
        const auto arg = args.at(1).value<QDBusArgument>();
        arg >> info;
        m_handler(m_name, info);
    }

private:
    QString m_name;
    NotificationCenter::Handler m_handler;
};

} // namespace

DBusNotificationCenter::DBusNotificationCenter(QDBusConnection connection)
    : m_connection(std::move(connection))
{
    qDBusRegisterMetaType<UserInfo>();
}

void DBusNotificationCenter::post(const QString& name, const UserInfo& userInfo)
{
    if (!m_connection.isConnected())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(path, interface, member);
    signal << name << QVariant::fromValue(userInfo);
    m_connection.send(signal);
}

void DBusNotificationCenter::observe(const QString& name, QObject* context, Handler handler)
{
    if (!m_connection.isConnected() || !context)
        return;
    auto* receiver = new SignalReceiver(name, std::move(handler), context);
    m_connection.connect(QString(), path, interface, member, QStringList{name}, QString(),
                         receiver, SLOT(onSignal(QDBusMessage)));
}

} // namespace marten

#include "DBusNotificationCenter.moc"
