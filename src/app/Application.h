#pragma once

#include "flow/Variant.h"

namespace marten {

// Runs one onboarding program from its entry to its end; returns the exit status.
int runOnboarding(Variant variant, int argc, char** argv);

} // namespace marten
