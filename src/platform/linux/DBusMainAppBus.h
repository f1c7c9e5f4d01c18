#pragma once

#include "core/platform/MainAppBus.h"

#include <QDBusConnection>

namespace marten {

class Console;

// Notifications as D-Bus signals on the user's session bus:
// path /com/marten/DistributedNotifications, interface com.marten.DistributedNotifications,
// member Notification, arguments (s name, a{ss} userInfo). Observers subscribe with an arg0
// match rule, so the bus delivers only the names they asked for.
//
// Any peer may send these signals (gdbus emit, dbus-send), so incoming ones are checked: a
// wrong signature, an empty name or an oversized map is dropped without a word. Without a
// bus, or when a signal cannot be queued, nothing is reported to the caller; the first such
// failure writes one console line, later ones stay quiet.
//
// Use from the main thread; observation contexts must live there too.
class DBusMainAppBus final : public MainAppBus {
public:
    static const QString path;
    static const QString interface;
    static const QString member;

    // Incoming user info larger than this is ignored, as is the whole notification.
    static constexpr int maxUserInfoEntries = 64;
    static constexpr qsizetype maxUserInfoChars = 16 * 1024;

    explicit DBusMainAppBus(Console& console,
                            QDBusConnection connection = QDBusConnection::sessionBus());

    void post(const QString& name, const UserInfo& userInfo) override;
    void observe(const QString& name, QObject* context, Handler handler) override;
    // Asks the bus a question after the subscriptions: it handles one connection's messages
    // in order, so its answer means they are in place.
    void whenListening(QObject* context, std::function<void()> ready) override;

    bool isConnected() const { return m_connection.isConnected(); }

private:
    void reportUnavailable(const QString& reason);

    Console& m_console;
    QDBusConnection m_connection;
    bool m_reported = false;
};

} // namespace marten
