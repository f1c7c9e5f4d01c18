#pragma once

#include "platform/linux/DBusNotificationCenter.h"

#include <memory>

namespace marten {

// Connects to the session bus only when the first notification is posted or observed, so
// that the connection is not made before the window's first frame.
class LazyNotificationCenter final : public NotificationCenter {
public:
    explicit LazyNotificationCenter(Console& console) : m_console(console) {}

    void post(const QString& name, const UserInfo& userInfo) override
    {
        center().post(name, userInfo);
    }
    void observe(const QString& name, QObject* context, Handler handler) override
    {
        center().observe(name, context, std::move(handler));
    }

private:
    DBusNotificationCenter& center()
    {
        if (!m_center)
            m_center = std::make_unique<DBusNotificationCenter>(m_console);
        return *m_center;
    }

    Console& m_console;
    std::unique_ptr<DBusNotificationCenter> m_center;
};

} // namespace marten
