#pragma once

#include "core/platform/Platform.h"

#include <chrono>
#include <memory>

namespace marten {

class AccentColourSource;

// The real services of a run on Linux, built in one place and handed out as a Platform. Build
// it once the QApplication exists, and keep it for as long as anything holds its Platform.
// Main thread only.
class LinuxPlatform final {
public:
    // `console` outlives this object. `busAnswered`: whether the session bus answered when it
    // was probed at start; when it did not, the bus is left out of the whole run. Every later
    // connection to the bus gets `busPatience`.
    LinuxPlatform(Console& console, bool busAnswered, std::chrono::milliseconds busPatience);
    ~LinuxPlatform();
    LinuxPlatform(const LinuxPlatform&) = delete;
    LinuxPlatform& operator=(const LinuxPlatform&) = delete;

    Platform& platform();
    // The desktop's accent colour, not started yet.
    AccentColourSource& accentColour();
    // True while a connection to the bus has not returned. It cannot be called off: a process
    // that ends meanwhile must leave without waiting for Qt's bus thread.
    bool isWaitingForBus() const;

private:
    struct Services;
    std::unique_ptr<Services> m_services;
};

} // namespace marten
