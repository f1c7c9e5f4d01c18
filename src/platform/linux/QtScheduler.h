#pragma once

#include "core/platform/Scheduler.h"

#include <QHash>
#include <QPointer>

class QTimer;

namespace marten {

// Scheduler on Qt timers of the main thread.
class QtScheduler final : public Scheduler {
public:
    QtScheduler() = default;
    ~QtScheduler() override;
    QtScheduler(const QtScheduler&) = delete;
    QtScheduler& operator=(const QtScheduler&) = delete;

    TaskId after(Duration delay, const QObject* context, std::function<void()> task) override;
    TaskId every(Duration interval, const QObject* context, std::function<void()> task) override;
    void cancel(TaskId id) override;

private:
    TaskId start(Duration delay, bool repeat, const QObject* context, std::function<void()> task);

    TaskId m_next = 1;
    QHash<TaskId, QPointer<QTimer>> m_timers;
};

} // namespace marten
