#pragma once

#include <chrono>

namespace marten::process {

// Whether connecting to the session bus comes to an end within `patience`, with a
// connection or with an error. The attempt runs on a thread of its own that nothing waits
// for, through the same address lookup Qt uses, and its connection is closed again; a bus
// that accepts the connection and never answers leaves that thread behind, and false comes
// back when the patience is spent. Call it before QApplication exists.
bool sessionBusAnswersWithin(std::chrono::milliseconds patience);

// Points everything in this process that looks for a session bus, Qt's accessibility bridge
// included, at an address that fails at once. Before QApplication exists, from the main
// thread.
void forgetSessionBus();

} // namespace marten::process
