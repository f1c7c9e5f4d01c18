#pragma once

#include "platform/linux/DBusMainAppBus.h"

#include <memory>

namespace marten {

// Connects to the session bus only when the first notification is posted or observed, so
// that the connection is not made before the window's first frame.
class LazyMainAppBus final : public MainAppBus {
public:
    explicit LazyMainAppBus(Console& console) : m_console(console) {}

    void post(const QString& name, const UserInfo& userInfo) override
    {
        center().post(name, userInfo);
    }
    void observe(const QString& name, QObject* context, Handler handler) override
    {
        center().observe(name, context, std::move(handler));
    }

private:
    DBusMainAppBus& center()
    {
        if (!m_center)
            m_center = std::make_unique<DBusMainAppBus>(m_console);
        return *m_center;
    }

    Console& m_console;
    std::unique_ptr<DBusMainAppBus> m_center;
};

} // namespace marten
