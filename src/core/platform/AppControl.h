#pragma once

namespace marten {

// What the onboarding asks of the running application as a whole.
class AppControl {
public:
    virtual ~AppControl() = default;
    // Ends the event loop; the program then exits normally.
    virtual void quit() = 0;
};

} // namespace marten
