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

// Platform's autostart where none is given: registers nothing and says so.
class NoAutostart final : public Autostart {
public:
    Result<> registerMainApp() override
    {
        return Failure{QStringLiteral("launch at login is not available here")};
    }
};

} // namespace marten
