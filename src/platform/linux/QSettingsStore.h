#pragma once

#include "core/platform/SettingsStore.h"

namespace marten {

// QSettings with organisation "Marten" and application "Marten"
// ($XDG_CONFIG_HOME/Marten/Marten.conf), made durable with sync().
class QSettingsStore final : public SettingsStore {
public:
    bool setFlags(const QMap<QString, bool>& flags, QString* error) override;
};

} // namespace marten
