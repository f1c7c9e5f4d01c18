#pragma once

#include "core/Result.h"

#include <QByteArray>
#include <QString>

namespace marten::posix {

// The system's words for an errno value ("No space left on device").
QString reason(int code);

// "<what>: <the system's words for code>", keeping the code.
Failure failure(const QString& what, int code);

// Writes all of `bytes` to `fd`, retrying after signals. False with errno set when a write
// fails.
bool writeAll(int fd, const QByteArray& bytes);

} // namespace marten::posix
