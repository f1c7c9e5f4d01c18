#pragma once

#include "core/AssetLookup.h"

namespace marten {

class Autostart;
class Console;
class InputAccessGranter;
class InputAccessProbe;
class MainAppBus;
class PushToTalkKeys;
class Scheduler;
class SettingsStore;
class StagingFolder;
class URLOpener;

// The operating-system services the onboarding uses, handed to it at construction and built
// with designated initializers. The referenced objects outlive everything that holds this
// struct.
struct Platform {
    Scheduler& scheduler;
    InputAccessProbe& inputAccess;
    InputAccessGranter& inputAccessGranter;
    SettingsStore& settings;
    Autostart& autostart;
    URLOpener& urls;
    MainAppBus& bus;
    Console& console;
    const StagingFolder& staging;
    // Where the media are looked up; its home folder is the one the account files are read in.
    AssetPaths assets;
    // The push-to-talk key for the test step; null where nothing reads it (no step shows it).
    PushToTalkKeys* pushToTalkKeys = nullptr;
};

} // namespace marten
