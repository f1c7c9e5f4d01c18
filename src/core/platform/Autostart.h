#pragma once

#include <QString>

namespace marten {

// Starts the main application when the user logs in.
class Autostart {
public:
    virtual ~Autostart() = default;
    // True on success; otherwise false with a human-readable reason in `error`.
    virtual bool registerMainApp(QString* error) = 0;
};

} // namespace marten
