#pragma once

#include "core/StepRow.h"

namespace marten {

// Every step of both programs: its name, its screen, its place in each program's order,
// why it is shown and its button. The flow, the view, the screenshot tool and the tests all
// follow this one table.
StepTable onboardingSteps();

} // namespace marten
