#include "core/StepDecision.h"

#include "core/AccountChecks.h"
#include "core/platform/InputAccessProbe.h"

namespace marten {

StepDecision decideSteps(Variant variant, const InputAccessProbe& probe,
                         const AccountChecks& account)
{
    StepDecision decision;
    if (variant == Variant::Full) {
        if (account.checkAuthentication() && account.checkSubscription()) {
            decision.completeWithoutSteps = true;
            return decision;
        }
        decision.steps.append(FTUEStep::welcome);
        if (!probe.hasInputAccess())
            decision.steps.append(FTUEStep::permissions);
        // Asked again: the account files may have changed since the first reading.
        if (account.checkAuthentication()) {
            if (!account.checkSubscription())
                decision.steps.append(FTUEStep::purchase);
        } else {
            decision.steps.append(FTUEStep::signIn);
        }
        decision.steps.append(FTUEStep::howToUse);
        return decision;
    }

    decision.steps.append(FTUEStep::welcome);
    if (!probe.hasInputAccess())
        decision.steps.append(FTUEStep::permissions);
    decision.steps.append(FTUEStep::howToUse);
    if (!account.checkAuthentication())
        decision.steps.append(FTUEStep::signIn);
    decision.steps.append(FTUEStep::testIt);
    return decision;
}

} // namespace marten
