#pragma once

#include "platform/UserDefaults.h"

namespace marten {

// QSettings with organisation "Marten" and application "Marten"
// ($XDG_CONFIG_HOME/Marten/Marten.conf), made durable with sync().
class SettingsDefaults final : public UserDefaults {
public:
    bool setBool(const QString& key, bool value, QString* error) override;
};

} // namespace marten
