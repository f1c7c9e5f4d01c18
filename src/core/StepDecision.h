#pragma once

#include "core/StepRow.h"
#include "core/Variant.h"

namespace marten {

class InputAccessProbe;
class AccountChecks;

struct StepDecision {
    // Signed in and subscribed: no step is shown and onboarding completes by itself.
    bool completeWithoutSteps = false;
    StepList steps;
};

// Decides which of the table's steps this user needs, in the program's order. Only reads;
// safe on a background thread.
StepDecision decideSteps(StepTable table, Variant variant, const InputAccessProbe& probe,
                         const AccountChecks& account);

} // namespace marten
