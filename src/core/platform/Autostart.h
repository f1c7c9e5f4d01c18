#pragma once

#include "core/Result.h"

namespace marten {

// Starts the main application when the user logs in.
class Autostart {
public:
    virtual ~Autostart() = default;
    // Success, or a failure with a reason a person can read.
    virtual Result<> registerMainApp() = 0;
};

} // namespace marten
