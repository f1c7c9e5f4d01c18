#pragma once

#include "flow/Variant.h"
#include "platform/Platform.h"

#include <functional>

namespace marten {

using Callback = std::function<void()>;

// What every step screen is built with.
struct ScreenContext {
    const VariantTraits& traits;
    Platform& platform;

    Variant variant() const { return traits.variant; }
    bool isFull() const { return traits.variant == Variant::Full; }
};

} // namespace marten
