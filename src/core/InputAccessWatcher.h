#pragma once

#include "core/platform/Scheduler.h"

#include <QObject>

namespace marten {

class InputAccessProbe;

// Asks the probe once a second, from one second after start(), and emits granted() the
// first time it answers yes; then it stops. Starting it again while it runs changes nothing.
class InputAccessWatcher final : public QObject {
    Q_OBJECT
public:
    InputAccessWatcher(Scheduler& scheduler, const InputAccessProbe& probe,
                       QObject* parent = nullptr);
    ~InputAccessWatcher() override;

    void start();
    void stop();
    bool isRunning() const { return m_poll != 0; }

signals:
    void granted();

private:
    void tick();

    Scheduler& m_scheduler;
    const InputAccessProbe& m_probe;
    Scheduler::TaskId m_poll = 0;
};

} // namespace marten
