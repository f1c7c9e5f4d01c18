#pragma once

namespace marten {

// Shows the user how to give their account input access (the desktop's counterpart of a
// settings page for it). Returns at once; whatever it shows is not modal.
class InputAccessHelp {
public:
    virtual ~InputAccessHelp() = default;
    virtual void showInputAccessHelp() = 0;
};

} // namespace marten
