#pragma once

#include <QObject>

#include <chrono>
#include <functional>

namespace marten {

// Every delay and timer in the onboarding goes through this interface, so that
// tests can advance a fake clock instead of sleeping.
class Scheduler {
public:
    using TaskId = quint64;
    using Duration = std::chrono::milliseconds;

    virtual ~Scheduler() = default;

    // Runs `task` once after `delay`. When `context` is destroyed first, the task never runs.
    virtual TaskId after(Duration delay, const QObject* context, std::function<void()> task) = 0;

    // Runs `task` every `interval`, first one interval from now, until cancelled or until
    // `context` is destroyed.
    virtual TaskId every(Duration interval, const QObject* context, std::function<void()> task) = 0;

    // Stops a task; unknown or finished ids are ignored.
    virtual void cancel(TaskId id) = 0;
};

} // namespace marten
