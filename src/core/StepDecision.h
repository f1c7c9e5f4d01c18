#pragma once

#include "core/FTUEStep.h"
#include "core/Variant.h"

namespace marten {

class InputAccessProbe;
class AccountChecks;

struct StepDecision {
    // Signed in and subscribed: no step is shown and onboarding completes by itself.
    bool completeWithoutSteps = false;
    StepList steps;
};

// Decides which steps this user needs. Only reads; safe on a background thread.
StepDecision decideSteps(Variant variant, const InputAccessProbe& probe,
                         const AccountChecks& account);

} // namespace marten
