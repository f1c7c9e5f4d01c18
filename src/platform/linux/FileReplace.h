#pragma once

#include <QByteArray>
#include <QString>

namespace marten {

// Replaces the contents of the file at `path` with `bytes` in one rename, so a reader (or a
// program killed half-way) sees the old file or the new one, never a mixture. The bytes go
// to a fresh file beside the target first and are flushed to disk before the rename.
//
// A symbolic link at `path` stays: the file it points to is replaced (dotfile managers link
// these files into place). An existing file keeps its permission bits; a new one gets the
// usual ones (0666 less the umask). On failure nothing is left behind and `error` holds the
// system's own words, e.g. "cannot write /x/y: No space left on device".
bool replaceFile(const QString& path, const QByteArray& bytes, QString* error);

} // namespace marten
