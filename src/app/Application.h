#pragma once

#include "core/Variant.h"

#include <functional>

namespace marten {

class OnboardingWindow;

// Lets a harness (the startup benchmark) watch a real run without changing it.
struct RunHooks {
    std::function<void(OnboardingWindow&)> windowCreated;
};

// Runs one onboarding program from its entry to its end; returns the exit status.
int runOnboarding(Variant variant, int argc, char** argv, const RunHooks* hooks = nullptr);

} // namespace marten
