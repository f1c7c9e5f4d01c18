#pragma once

#include <QString>

namespace marten {

// Registers the main application to start when the user logs in.
class LoginItem {
public:
    virtual ~LoginItem() = default;
    // True on success; otherwise false with a human-readable reason in `error`.
    virtual bool registerMainApp(QString* error) = 0;
};

} // namespace marten
