#pragma once

#include "core/Result.h"

#include <QMap>
#include <QString>

namespace marten {

// The user's settings file, shared with the main application.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // Stores all of `flags` or none of them; a failure, with the reason, when they could not
    // be made durable.
    virtual Result<> setFlags(const QMap<QString, bool>& flags) = 0;
};

} // namespace marten
