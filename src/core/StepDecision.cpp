#include "core/StepDecision.h"

#include "core/AccountChecks.h"
#include "core/platform/InputAccessProbe.h"

#include <algorithm>
#include <optional>

namespace marten {

StepDecision decideSteps(StepTable table, Variant variant, const InputAccessProbe& probe,
                         const AccountChecks& account)
{
    StepDecision decision;
    if (traitsFor(variant).skipsStepsWhenSubscribed && account.checkAuthentication() &&
        account.checkSubscription()) {
        decision.completeWithoutSteps = true;
        return decision;
    }

    for (const StepRow& row : table)
        if (row.placeIn(variant) > 0)
            decision.steps.append(&row);
    std::stable_sort(decision.steps.begin(), decision.steps.end(),
                     [variant](const StepRow* a, const StepRow* b) {
                         return a->placeIn(variant) < b->placeIn(variant);
                     });

    // Each fact is read once, when the first step that depends on it asks, and after the
    // check above: the account files may have changed since that reading.
    std::optional<bool> access, signedIn, subscribed;
    const auto once = [](std::optional<bool>& fact, const auto& read) {
        if (!fact)
            fact = read();
        return *fact;
    };
    const auto hasAccess = [&] { return once(access, [&] { return probe.hasInputAccess(); }); };
    const auto isSignedIn = [&] {
        return once(signedIn, [&] { return account.checkAuthentication(); });
    };
    const auto isSubscribed = [&] {
        return once(subscribed, [&] { return account.checkSubscription(); });
    };
    const auto needed = [&](StepNeed need) {
        switch (need) {
        case StepNeed::always:
            return true;
        case StepNeed::inputAccess:
            return !hasAccess();
        case StepNeed::signIn:
            return !isSignedIn();
        case StepNeed::subscription:
            return isSignedIn() && !isSubscribed();
        }
        return false;
    };
    decision.steps.removeIf([&](const StepRow* row) { return !needed(row->need); });
    return decision;
}

} // namespace marten
