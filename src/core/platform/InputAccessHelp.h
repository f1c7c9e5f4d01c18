#pragma once

namespace marten {

// Shows the user how to give their account input access: the commands, or a button that runs
// them. Returns at once; whatever it shows is not modal.
class InputAccessHelp {
public:
    virtual ~InputAccessHelp() = default;
    virtual void showInputAccessHelp() = 0;
};

} // namespace marten
