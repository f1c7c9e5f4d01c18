#pragma once

#include "core/Result.h"

#include <QByteArray>
#include <QString>

namespace marten {

// Reads a regular file of at most `maxSize` bytes, links followed. Never blocks: a FIFO, a
// device or a socket is opened without waiting and refused, and a file that grows past the
// cap while it is read is refused too. A failure holds the reason alone ("Permission denied",
// "not a regular file", "too large"; the caller names the file) and, where the system gave
// one, its errno (ENOENT for a missing file).
Result<QByteArray> readRegularFile(const QString& path, qint64 maxSize);

} // namespace marten
