#pragma once

#include "core/platform/InputAccessGranter.h"
#include "core/platform/Scheduler.h"

#include <QObject>

namespace marten {

class InputAccessProbe;

// The permission step's own state, without its widgets: whether input access is there,
// whether the step is watching for it, and when the flow moves on because of it.
//
// While the step is on display: access found on arrival moves the flow on 0.5 s later; once
// the user has asked for help, the probe is asked once a second, from one second after the
// first request, and access found that way moves the flow on 1 s later. Leaving the step
// stops the watch and any pending move, so a step the flow has left never moves it again.
class InputAccessStep final : public QObject {
    Q_OBJECT
public:
    InputAccessStep(Scheduler& scheduler, const InputAccessProbe& probe,
                    InputAccessGranter& granter, QObject* parent = nullptr);
    ~InputAccessStep() override;

    // The step came on display / went off it.
    void enter();
    void leave();
    // The user asked how to grant access: helpRequested() follows, and the watch starts.
    void requestHelp();

    bool isGranted() const { return m_granted; }
    // A watch started from this step has not yet seen the grant.
    bool isChecking() const { return m_poll != 0; }

signals:
    void stateChanged();
    void helpRequested();
    // Time to move past the step.
    void advanceRequested();

private:
    void watch();
    void stopWatching();
    void poll();
    void advanceAfter(Scheduler::Duration delay);

    Scheduler& m_scheduler;
    const InputAccessProbe& m_probe;
    bool m_active = false;
    bool m_granted = false;
    Scheduler::TaskId m_poll = 0;
    Scheduler::TaskId m_advance = 0;
};

} // namespace marten
