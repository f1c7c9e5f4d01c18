#include "platform/linux/LazyMainAppBus.h"

#include "core/platform/Console.h"

#include <QPointer>

#include <atomic>
#include <mutex>
#include <thread>

namespace marten {

// What the main thread and the connecting thread share. The anchor is cleared, under the
// mutex, when the bus object goes away, so a late answer is simply dropped.
struct LazyMainAppBus::Attempt {
    std::mutex mutex;
    QObject* anchor = nullptr;
    std::atomic<bool> returned{false};
};

LazyMainAppBus::LazyMainAppBus(Console& console, Scheduler& scheduler,
                               std::chrono::milliseconds patience, Connector connect)
    : m_console(console), m_scheduler(scheduler), m_patience(patience),
      m_connect(std::move(connect)), m_anchor(std::make_unique<QObject>())
{
}

LazyMainAppBus::~LazyMainAppBus()
{
    if (m_attempt) {
        const std::lock_guard<std::mutex> lock(m_attempt->mutex);
        m_attempt->anchor = nullptr;
    }
}

bool LazyMainAppBus::isWaitingForBus() const
{
    return m_attempt && !m_attempt->returned.load();
}

void LazyMainAppBus::post(const QString& name, const UserInfo& userInfo)
{
    whenConnected([name, userInfo](DBusMainAppBus& bus) { bus.post(name, userInfo); });
}

void LazyMainAppBus::observe(const QString& name, QObject* context, Handler handler)
{
    QPointer<QObject> guard(context);
    whenConnected([name, guard, handler = std::move(handler)](DBusMainAppBus& bus) {
        if (guard)
            bus.observe(name, guard.data(), handler);
    });
}

void LazyMainAppBus::whenListening(QObject* context, std::function<void()> ready)
{
    switch (m_state) {
    case State::Idle: // nothing observed yet
    case State::Unavailable:
        ready();
        return;
    case State::Connecting:
        m_readyWaiting.emplace_back(context, ready);
        whenConnected([guard = QPointer<QObject>(context), ready](DBusMainAppBus& bus) {
            if (guard)
                bus.whenListening(guard.data(), ready);
        });
        return;
    case State::Ready:
        m_center->whenListening(context, std::move(ready));
        return;
    }
}

void LazyMainAppBus::startUnavailable()
{
    if (m_state == State::Idle)
        m_state = State::Unavailable;
}

QString LazyMainAppBus::unavailableLine(std::chrono::milliseconds patience)
{
    return QStringLiteral("Main app messaging unavailable: the session bus did not answer "
                          "within %1 s")
        .arg(patience.count() / 1000.0);
}

void LazyMainAppBus::whenConnected(std::function<void(DBusMainAppBus&)> use)
{
    switch (m_state) {
    case State::Idle:
        m_waiting.push_back(std::move(use));
        startConnecting();
        return;
    case State::Connecting:
        m_waiting.push_back(std::move(use));
        return;
    case State::Ready:
        use(*m_center);
        return;
    case State::Unavailable:
        return;
    }
}

void LazyMainAppBus::startConnecting()
{
    m_state = State::Connecting;
    m_attempt = std::make_shared<Attempt>();
    m_attempt->anchor = m_anchor.get();
    m_scheduler.after(m_patience, m_anchor.get(), [this] { giveUp(); });
    // Detached: nothing ever waits for this thread, which may never come back.
    std::thread([attempt = m_attempt, connect = m_connect, this] {
        const QDBusConnection connection = connect();
        const std::lock_guard<std::mutex> lock(attempt->mutex);
        attempt->returned = true;
        if (attempt->anchor)
            QMetaObject::invokeMethod(
                attempt->anchor, [this, connection] { connected(connection); },
                Qt::QueuedConnection);
    }).detach();
}

void LazyMainAppBus::connected(const QDBusConnection& connection)
{
    if (m_state != State::Connecting)
        return; // given up on already
    m_state = State::Ready;
    m_center = std::make_unique<DBusMainAppBus>(m_console, connection);
    m_readyWaiting.clear();
    const auto waiting = std::exchange(m_waiting, {});
    for (const auto& use : waiting)
        use(*m_center);
}

void LazyMainAppBus::giveUp()
{
    if (m_state != State::Connecting)
        return;
    m_state = State::Unavailable;
    m_waiting.clear();
    m_console.line(unavailableLine(m_patience));
    for (const auto& [context, ready] : std::exchange(m_readyWaiting, {})) {
        if (context)
            ready();
    }
}

} // namespace marten
