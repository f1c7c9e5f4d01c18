#include "fakes/Fakes.h"

#include <QMutexLocker>

#include <algorithm>
#include <cstdio>

namespace marten::fake {

Scheduler::TaskId Scheduler::add(Duration delay, Duration interval, const QObject* context,
                                 std::function<void()> task)
{
    auto entry = std::make_shared<Task>(
        Task{m_next++, m_now + delay, interval, context, context != nullptr, std::move(task)});
    m_tasks.push_back(entry);
    return entry->id;
}

Scheduler::TaskId Scheduler::after(Duration delay, const QObject* context,
                                   std::function<void()> task)
{
    return add(delay, Duration{0}, context, std::move(task));
}

Scheduler::TaskId Scheduler::every(Duration interval, const QObject* context,
                                   std::function<void()> task)
{
    return add(interval, std::max(interval, Duration{1}), context, std::move(task));
}

void Scheduler::cancel(TaskId id)
{
    std::erase_if(m_tasks, [id](const auto& t) { return t->id == id; });
}

int Scheduler::pendingCount() const
{
    return static_cast<int>(std::count_if(m_tasks.begin(), m_tasks.end(), [](const auto& t) {
        return !t->guarded || !t->context.isNull();
    }));
}

void Scheduler::advance(Duration by)
{
    const Duration target = m_now + by;
    for (;;) {
        std::erase_if(m_tasks, [](const auto& t) { return t->guarded && t->context.isNull(); });
        auto next =
            std::min_element(m_tasks.begin(), m_tasks.end(), [](const auto& a, const auto& b) {
                return a->due < b->due || (a->due == b->due && a->id < b->id);
            });
        if (next == m_tasks.end() || (*next)->due > target)
            break;
        const std::shared_ptr<Task> task = *next;
        m_now = task->due;
        if (task->interval.count() > 0)
            task->due += task->interval;
        else
            m_tasks.erase(next);
        task->run(); // may add or cancel tasks
    }
    m_now = target;
}

Result<> Settings::setFlags(const QMap<QString, bool>& flags)
{
    ++writes;
    if (!failWith.isEmpty())
        return Failure{failWith};
    values.insert(flags);
    return {};
}

Result<> Autostart::registerMainApp()
{
    ++registrations;
    if (!failWith.isEmpty())
        return Failure{failWith};
    return {};
}

void MainAppBus::post(const QString& name, const UserInfo& userInfo)
{
    posted.append({name, userInfo});
}

void MainAppBus::observe(const QString& name, QObject* context, Handler handler)
{
    m_observers.append({name, context, std::move(handler)});
}

void MainAppBus::whenListening(QObject* context, std::function<void()> ready)
{
    if (holdListening)
        m_heldReady.append({context, std::move(ready)});
    else
        ready();
}

void MainAppBus::confirmListening()
{
    for (const auto& [context, ready] : std::exchange(m_heldReady, {})) {
        if (context)
            ready();
    }
}

void MainAppBus::deliver(const QString& name, const UserInfo& userInfo)
{
    const QList<Observer> observers = m_observers;
    for (const Observer& o : observers) {
        if (o.name == name && o.context)
            o.handler(name, userInfo);
    }
}

int MainAppBus::observerCount(const QString& name) const
{
    return static_cast<int>(
        std::count_if(m_observers.begin(), m_observers.end(),
                      [&](const Observer& o) { return o.name == name && o.context; }));
}

void Console::line(const QString& text)
{
    QMutexLocker lock(&m_mutex);
    m_lines.append(text);
    if (echo) {
        std::fputs(text.toUtf8().constData(), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
    }
}

QStringList Console::lines() const
{
    QMutexLocker lock(&m_mutex);
    return m_lines;
}

void Console::clear()
{
    QMutexLocker lock(&m_mutex);
    m_lines.clear();
}

} // namespace marten::fake
