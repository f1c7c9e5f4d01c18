#pragma once

#include "flow/FTUEStep.h"
#include "flow/Variant.h"

namespace marten {

class AccessibilityProbe;
class AccountChecks;

struct StepDecision {
    // Signed in and subscribed: no step is shown and onboarding completes by itself.
    bool completeWithoutSteps = false;
    StepList steps;
};

// Decides which steps this user needs. Only reads; safe on a background thread.
StepDecision decideSteps(Variant variant, const AccessibilityProbe& probe,
                         const AccountChecks& account);

} // namespace marten
