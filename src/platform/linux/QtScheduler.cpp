#include "platform/linux/QtScheduler.h"

#include <QTimer>

namespace marten {

QtScheduler::~QtScheduler()
{
    for (const QPointer<QTimer>& timer : std::as_const(m_timers))
        delete timer.data();
}

Scheduler::TaskId QtScheduler::after(Duration delay, const QObject* context,
                                     std::function<void()> task)
{
    return start(delay, false, context, std::move(task));
}

Scheduler::TaskId QtScheduler::every(Duration interval, const QObject* context,
                                     std::function<void()> task)
{
    return start(interval, true, context, std::move(task));
}

Scheduler::TaskId QtScheduler::start(Duration delay, bool repeat, const QObject* context,
                                     std::function<void()> task)
{
    const TaskId id = m_next++;
    auto* timer = new QTimer;
    timer->setSingleShot(!repeat);
    timer->setTimerType(Qt::PreciseTimer);
    timer->setInterval(delay);
    QPointer<const QObject> guard(context);
    const bool guarded = context != nullptr;
    QObject::connect(timer, &QTimer::timeout, timer, [this, id, repeat, guard, guarded, task] {
        if (guarded && !guard) {
            cancel(id);
            return;
        }
        if (!repeat)
            cancel(id);
        task();
    });
    if (context) {
        QObject::connect(context, &QObject::destroyed, timer, [this, id] { cancel(id); });
    }
    m_timers.insert(id, timer);
    timer->start();
    return id;
}

void QtScheduler::cancel(TaskId id)
{
    const QPointer<QTimer> timer = m_timers.take(id);
    if (timer) {
        timer->stop();
        timer->deleteLater();
    }
}

} // namespace marten
