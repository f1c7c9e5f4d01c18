#pragma once

#include "core/AssetLookup.h"

namespace marten {

class AppControl;
class Autostart;
class Console;
class InputAccessHelp;
class InputAccessProbe;
class MainAppBus;
class PushToTalkKeys;
class Scheduler;
class SettingsStore;
class URLOpener;

// The operating-system services the onboarding uses, handed to it at construction.
// The referenced objects outlive everything that holds this struct.
struct Platform {
    Scheduler& scheduler;
    InputAccessProbe& inputAccess;
    InputAccessHelp& inputAccessHelp;
    SettingsStore& settings;
    Autostart& autostart;
    AppControl& app;
    URLOpener& urls;
    MainAppBus& bus;
    Console& console;
    AssetPaths assets;
    QString homeDir;
    // The push-to-talk key for the test step; null where nothing reads it (no step shows it).
    PushToTalkKeys* pushToTalkKeys = nullptr;
};

} // namespace marten
