#pragma once

#include <QMap>
#include <QString>

namespace marten {

// The user's settings file, shared with the main application.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // Stores all of `flags` or none of them; false (with a reason in `error`) when they could
    // not be made durable.
    virtual bool setFlags(const QMap<QString, bool>& flags, QString* error) = 0;
};

} // namespace marten
