#pragma once

#include "core/OnboardingFlow.h"
#include "core/StepRow.h"

#include <QLatin1String>

namespace marten::test {

// Walks by step name, never by position, so a new step anywhere leaves the tests alone.
inline bool isAt(const OnboardingFlow& flow, const char* name)
{
    return stepName(flow.currentStep()) == QLatin1String(name);
}

// Moves the flow on until the named step is on display; false when it never comes.
inline bool walkTo(OnboardingFlow& flow, const char* name)
{
    while (flow.currentStep() && !isAt(flow, name))
        flow.nextStep();
    return flow.currentStep() != nullptr;
}

// The names of the steps a user sees, in order.
inline QStringList namesOf(const StepList& steps)
{
    QStringList names;
    for (const StepRow* step : steps)
        names << stepName(step);
    return names;
}

} // namespace marten::test
