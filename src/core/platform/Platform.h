#pragma once

#include "core/AssetLookup.h"
#include "core/platform/Autostart.h"
#include "core/platform/Console.h"
#include "core/platform/StagingFolder.h"
#include "core/platform/URLOpener.h"

#include <type_traits>

namespace marten {

class InputAccessGranter;
class InputAccessProbe;
class MainAppBus;
class PushToTalkKeys;
class Scheduler;
class SettingsStore;

// A service object that holds nothing but its virtual functions.
template <class T>
concept Stateless = std::is_polymorphic_v<T> && sizeof(T) == sizeof(void*);

// The one instance of a do-nothing service, bound by the defaults below. It holds nothing, so
// every Platform that shares it shares no state.
template <Stateless T> inline constinit T doNothing{};

// The operating-system services the onboarding uses, handed to it at construction. The
// referenced objects outlive everything that holds this struct.
//
// Built in two places only, with designated initializers in the order below: LinuxPlatform
// (src/app) with the real services, fake::Services::platformWith (src/fakes) with the fakes.
// Elsewhere a Platform is taken from one of them and, at most, has its assets changed.
struct Platform {
    // Required: the flow cannot decide, walk or finish its steps without these.
    Scheduler& scheduler;
    InputAccessProbe& inputAccess;
    InputAccessGranter& inputAccessGranter;
    SettingsStore& settings;
    MainAppBus& bus;
    // Where the media are looked up; its home folder is the one the account files are read in.
    AssetPaths assets;

    // Optional: where nothing is an answer the flow already takes, a service defaults to
    // nothing, so that a site without it leaves it out. A plain interface defaults to its
    // do-nothing object (doNothing<NoX>, NoX declared beside the interface); a QObject, which
    // always carries state, to null ("null: none"), checked where it is used.
    Console& console = doNothing<NoConsole>;
    Autostart& autostart = doNothing<NoAutostart>;
    URLOpener& urls = doNothing<NoURLOpener>;
    const StagingFolder& staging = doNothing<NoStagingFolder>;
    // The push-to-talk key for the test step. Null: none (the step follows no key).
    PushToTalkKeys* pushToTalkKeys = nullptr;
};

} // namespace marten
