#pragma once

#include <QString>

namespace marten {

// The user's persistent preferences shared with the main application.
class UserDefaults {
public:
    virtual ~UserDefaults() = default;
    // Stores the flag; false (with a reason in `error`) when it could not be made durable.
    virtual bool setBool(const QString& key, bool value, QString* error) = 0;
};

} // namespace marten
