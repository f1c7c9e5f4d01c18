#pragma once

#include "platform/NotificationCenter.h"

#include <QDBusConnection>

namespace marten {

// Notifications as D-Bus signals on the user's session bus:
// path /com/marten/DistributedNotifications, interface com.marten.DistributedNotifications,
// member Notification, arguments (s name, a{ss} userInfo). Observers match on argument 0.
class DBusNotificationCenter final : public NotificationCenter {
public:
    static const QString path;
    static const QString interface;
    static const QString member;

    explicit DBusNotificationCenter(QDBusConnection connection = QDBusConnection::sessionBus());

    void post(const QString& name, const UserInfo& userInfo) override;
    void observe(const QString& name, QObject* context, Handler handler) override;

private:
    QDBusConnection m_connection;
};

} // namespace marten
