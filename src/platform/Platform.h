#pragma once

#include "media/AssetLookup.h"

namespace marten {

class AccessibilityProbe;
class AppControl;
class Console;
class LoginItem;
class NotificationCenter;
class Scheduler;
class UrlOpener;
class UserDefaults;

// The operating-system services the onboarding uses, handed to it at construction.
// The referenced objects outlive every widget that holds this struct.
struct Platform {
    Scheduler& scheduler;
    AccessibilityProbe& accessibility;
    UserDefaults& defaults;
    LoginItem& loginItem;
    AppControl& app;
    UrlOpener& urls;
    NotificationCenter& notifications;
    Console& console;
    AssetPaths assets;
    QString homeDir;
};

} // namespace marten
