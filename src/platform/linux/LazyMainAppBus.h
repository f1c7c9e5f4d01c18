#pragma once

#include "core/platform/Scheduler.h"
#include "platform/linux/DBusMainAppBus.h"

#include <chrono>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include <QPointer>

namespace marten {

// Connects to the session bus when the first notification is posted or observed, so that
// the connection is not made before the window's first frame, and never on the main thread:
// a bus that accepts the connection and then stays silent would hold that thread for good.
//
// Posts and observations made while the connection is on its way wait for it. When the bus
// has not answered within the patience, one "Main app messaging unavailable" line is written
// and everything asked of the bus from then on is dropped.
class LazyMainAppBus final : public MainAppBus {
public:
    using Connector = std::function<QDBusConnection()>;

    LazyMainAppBus(Console& console, Scheduler& scheduler,
                   std::chrono::milliseconds patience = std::chrono::seconds(2),
                   Connector connect = &QDBusConnection::sessionBus);
    ~LazyMainAppBus() override;
    LazyMainAppBus(const LazyMainAppBus&) = delete;
    LazyMainAppBus& operator=(const LazyMainAppBus&) = delete;

    void post(const QString& name, const UserInfo& userInfo) override;
    void observe(const QString& name, QObject* context, Handler handler) override;
    // Waits for the connection first; once the bus is given up on, `ready` is called at once.
    void whenListening(QObject* context, std::function<void()> ready) override;

    // The bus is known not to answer (it was probed before): nothing is ever connected, and
    // everything asked of the bus is dropped without a word.
    void startUnavailable();
    // The line written when the bus is given up on.
    static QString unavailableLine(std::chrono::milliseconds patience);

    // True while a connection attempt has not returned. It cannot be called off: a process
    // that ends meanwhile must leave without waiting for Qt's bus thread.
    bool isWaitingForBus() const;

private:
    enum class State { Idle, Connecting, Ready, Unavailable };
    struct Attempt;

    void whenConnected(std::function<void(DBusMainAppBus&)> use);
    void startConnecting();
    void connected(const QDBusConnection& connection);
    void giveUp();

    Console& m_console;
    Scheduler& m_scheduler;
    std::chrono::milliseconds m_patience;
    Connector m_connect;
    State m_state = State::Idle;
    std::vector<std::function<void(DBusMainAppBus&)>> m_waiting;
    // whenListening() calls made while connecting, answered at once if it is given up.
    std::vector<std::pair<QPointer<QObject>, std::function<void()>>> m_readyWaiting;
    std::unique_ptr<DBusMainAppBus> m_center;
    std::shared_ptr<Attempt> m_attempt;
    // Lives on the main thread: the connecting thread's answer is delivered to it.
    std::unique_ptr<QObject> m_anchor;
};

} // namespace marten
