#pragma once

#include "core/Variant.h"
#include "core/platform/Platform.h"

namespace marten {

// What every step screen is built with.
struct ScreenContext {
    const VariantTraits& traits;
    Platform& platform;

    bool isFull() const { return traits.variant == Variant::Full; }
};

} // namespace marten
