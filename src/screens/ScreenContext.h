#pragma once

#include "core/Variant.h"
#include "core/platform/Platform.h"

namespace marten {

class OnboardingFlow;

// What every step screen is built with: the program's traits, the platform, and the flow,
// which a screen tells what its user asked for (skip, sign in, buy, get help) and whose
// state it shows (input access, the test step's recording).
struct ScreenContext {
    const VariantTraits& traits;
    Platform& platform;
    OnboardingFlow& flow;
};

} // namespace marten
