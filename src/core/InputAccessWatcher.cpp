#include "core/InputAccessWatcher.h"

#include "core/platform/InputAccessProbe.h"

namespace marten {

InputAccessWatcher::InputAccessWatcher(Scheduler& scheduler, const InputAccessProbe& probe,
                                       QObject* parent)
    : QObject(parent), m_scheduler(scheduler), m_probe(probe)
{
}

InputAccessWatcher::~InputAccessWatcher()
{
    stop();
}

void InputAccessWatcher::start()
{
    if (m_poll == 0)
        m_poll = m_scheduler.every(std::chrono::seconds(1), this, [this] { tick(); });
}

void InputAccessWatcher::stop()
{
    if (m_poll != 0) {
        m_scheduler.cancel(m_poll);
        m_poll = 0;
    }
}

void InputAccessWatcher::tick()
{
    if (!m_probe.hasInputAccess())
        return;
    stop();
    emit granted();
}

} // namespace marten
