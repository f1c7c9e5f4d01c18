#pragma once

#include <QByteArray>

#include <chrono>

namespace marten::process {

// What the start-up look at the buses found.
struct BusProbe {
    // Connecting to the session bus came to an end in time, with a connection or an error.
    bool sessionAnswered = false;
    enum class Accessibility {
        Answered, // the accessibility bus answered a Hello at `accessibilityAddress`
        Absent,   // the session bus names no accessibility bus
        Silent,   // the lookup or the Hello did not come back in time
    };
    Accessibility accessibility = Accessibility::Absent;
    QByteArray accessibilityAddress;
    // A screen reader or the desktop asked for accessibility (org.a11y.Status).
    bool accessibilityWanted = false;
};

// Connects to the session bus, asks it for the running accessibility bus (org.a11y.Bus.GetAddress)
// and says Hello there, all within `patience`. The attempt runs on a thread of its own that nothing
// waits for, through the same address lookup Qt uses, and its connections are closed again; a
// bus that accepts a connection and never answers leaves that thread behind, and the parts
// not done when the patience is spent count as silent. Call it before QApplication exists.
BusProbe probeBuses(std::chrono::milliseconds patience);

// Points everything in this process that looks for a session bus, Qt's accessibility bridge
// included, at an address that fails at once. Before QApplication exists, from the main
// thread.
void forgetSessionBus();

// Hands Qt's accessibility bridge the accessibility bus the probe checked, so that it never
// asks the session bus for it on the main thread. Before QApplication exists.
void useAccessibilityBus(const QByteArray& address);

// Starts Qt's accessibility bridge on the bus handed to it, once QApplication exists on X11 or
// Wayland (the platforms whose bridge this is). Qt 6.4's
// bridge, handed an address, connects to it and then misses its own start signal, so it would
// stay silent; starting it again does nothing where it already runs.
void startAccessibilityBridge();

// Turns accessibility off for this run: Qt's bridge and GTK's find no bus to connect to.
void forgetAccessibilityBus();

} // namespace marten::process
