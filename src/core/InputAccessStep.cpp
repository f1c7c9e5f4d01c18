#include "core/InputAccessStep.h"

#include "core/platform/InputAccessProbe.h"

namespace marten {
namespace {
using namespace std::chrono_literals;
constexpr auto kAdvanceOnArrival = 500ms;
constexpr auto kAdvanceAfterWatch = 1s;
constexpr auto kPollInterval = 1s;
} // namespace

InputAccessStep::InputAccessStep(Scheduler& scheduler, const InputAccessProbe& probe,
                                 InputAccessGranter& granter, QObject* parent)
    : QObject(parent), m_scheduler(scheduler), m_probe(probe)
{
    // A grant made from the help panel is watched for until this login has it, so that the
    // panel closes and the step moves on; a grant the login never picks up is the panel's to
    // explain.
    connect(&granter, &InputAccessGranter::finished, this,
            [this](InputAccessGranter::Outcome outcome) {
                if (outcome == InputAccessGranter::Outcome::Granted)
                    watch();
            });
}

InputAccessStep::~InputAccessStep()
{
    leave();
}

void InputAccessStep::enter()
{
    m_active = true;
    const bool granted = m_probe.hasInputAccess();
    if (granted != m_granted) {
        m_granted = granted;
        emit stateChanged();
    }
    if (granted)
        advanceAfter(kAdvanceOnArrival);
}

void InputAccessStep::leave()
{
    m_active = false;
    const bool wasChecking = isChecking();
    stopWatching();
    m_scheduler.cancel(m_advance);
    m_advance = 0;
    if (wasChecking)
        emit stateChanged();
}

void InputAccessStep::requestHelp()
{
    emit helpRequested();
    // Further requests only show the help again; the running watch goes on as it is.
    watch();
}

void InputAccessStep::watch()
{
    if (!m_active || m_granted || m_poll != 0)
        return;
    m_poll = m_scheduler.every(kPollInterval, this, [this] { poll(); });
    emit stateChanged();
}

void InputAccessStep::stopWatching()
{
    m_scheduler.cancel(m_poll);
    m_poll = 0;
}

void InputAccessStep::poll()
{
    if (!m_probe.hasInputAccess())
        return;
    stopWatching();
    m_granted = true;
    emit stateChanged();
    advanceAfter(kAdvanceAfterWatch);
}

void InputAccessStep::advanceAfter(Scheduler::Duration delay)
{
    m_scheduler.cancel(m_advance);
    m_advance = m_scheduler.after(delay, this, [this] {
        m_advance = 0;
        emit advanceRequested();
    });
}

} // namespace marten
