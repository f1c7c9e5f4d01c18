#pragma once

#include "core/Result.h"

#include <functional>

class QObject;
class QProcessEnvironment;

namespace marten {

// What the process settles before Qt starts, and the signals that end it.
namespace process {

// Whether a Qt GUI platform can be had at all: a display server is named (DISPLAY,
// WAYLAND_DISPLAY), a platform is chosen explicitly (QT_QPA_PLATFORM, -platform).
bool hasGraphicalSession(int argc, char** argv);

// Keeps the environment as the user started the program with, before anything here changes
// it: the programs this one starts (the browser, pkexec) get that one, never the buses this
// run left out.
void rememberStartEnvironment();
// The environment remembered at start; the present one when nothing was remembered.
QProcessEnvironment startEnvironment();

// Makes the environment safe to take paths from. Relative XDG base folders are dropped, as
// the XDG rules ask, so Qt uses the defaults; so are ones whose names are not UTF-8. A HOME
// that is unset, empty or relative is replaced by the home folder in the password database.
// A failure, with the reason, when no absolute home folder can be found or its name is not
// UTF-8; nothing must be read or written then.
Result<> settleEnvironment();

// From now on a write to a closed pipe fails with EPIPE instead of ending the process.
void ignoreBrokenPipes();

// SIGTERM, SIGINT and SIGHUP are caught from now on. Until watchTerminationSignals() is
// called they are only remembered. Whatever the main thread does, the process ends 1.5 s
// after the first of them at the latest, with status 128 + the signal and nothing more
// written.
void catchTerminationSignals();

// Calls `onSignal` on `context`'s thread, from its event loop, for every caught signal,
// including one remembered since catchTerminationSignals().
void watchTerminationSignals(QObject* context, std::function<void()> onSignal);

} // namespace process
} // namespace marten
