#pragma once

#include "core/Result.h"

#include <QByteArray>
#include <QString>

namespace marten {

// Replaces the contents of the file at `path` with `bytes` in one rename, so a reader (or a
// program killed half-way) sees the old file or the new one, never a mixture. The bytes go
// to a fresh file beside the target first and are flushed to disk before the rename.
//
// A symbolic link at `path` stays: the file it points to is replaced (dotfile managers link
// these files into place). An existing file keeps its permission bits; a new one gets the
// usual ones (0666 less the umask). On failure nothing is left behind and the failure says why
// in the system's own words, e.g. "cannot write /x/y: No space left on device".
//
// Before it writes, it removes what earlier calls left beside the target when their process
// was killed before the rename (see removeLeftovers).
Result<> replaceFile(const QString& path, const QByteArray& bytes);

// Creates `folder` and the parents it lacks (0777 less the umask, as mkdir -p does). On
// failure the reason names the folder that could not be made and the system's reason.
Result<> makeFolders(const QString& folder);

// Removes what runs killed half-way left in `folder`: entries named `prefix` followed by
// exactly `suffixLength` characters of `alphabet`, owned by this user and unchanged for a
// minute (so a run still at work keeps its own). Regular files go, and folders whose entries
// are all such files; nothing else is touched, and a link is never followed.
void removeLeftovers(const QString& folder, const QByteArray& prefix, int suffixLength,
                     const char* alphabet);

} // namespace marten
