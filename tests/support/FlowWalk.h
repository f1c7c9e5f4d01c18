#pragma once

#include "core/OnboardingFlow.h"
#include "core/StepRow.h"

#include <QLatin1String>

namespace marten::test {

// Moves the flow on until the named step is on display; false when it never comes. By name,
// never by position, so that a new step anywhere leaves the tests alone.
inline bool walkTo(OnboardingFlow& flow, const char* name)
{
    while (flow.currentStep() && stepName(flow.currentStep()) != QLatin1String(name))
        flow.nextStep();
    return flow.currentStep() != nullptr;
}

} // namespace marten::test
