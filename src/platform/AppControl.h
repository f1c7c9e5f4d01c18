#pragma once

class QWidget;

namespace marten {

// What the onboarding asks of the running application as a whole.
class AppControl {
public:
    virtual ~AppControl() = default;
    // Ends the event loop; the program then exits normally.
    virtual void quit() = 0;
    // Brings `window` to the front and gives it the keyboard focus.
    virtual void raiseAndActivate(QWidget* window) = 0;
};

} // namespace marten
