#pragma once

#include "core/Result.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace marten {

// A name this program gives the files and folders it makes for a moment: `prefix` followed by
// exactly `randomLength` characters of `alphabet` (a fixed name has none). The prefixes carry
// a mark no person would choose (".marten-save-", ".marten-merge-"), so that a dated backup
// or any other file of the user's never matches.
struct OwnName {
    QByteArray prefix;
    int randomLength = 0;
    const char* alphabet = "";

    bool matches(const char* name) const;
};

// The name replaceFile gives its temporary copy of the file called `fileName`:
// "." + fileName + ".marten-save-" + eight lowercase hex digits.
OwnName replacementName(const QString& fileName);

// Replaces the contents of the file at `path` with `bytes` in one rename, so a reader (or a
// program killed half-way) sees the old file or the new one, never a mixture. The bytes go
// to a file beside the target first and are flushed to disk before the rename. Where the
// file system allows it, that file has no name until it is complete, so a run killed while
// writing leaves nothing behind.
//
// A symbolic link at `path` stays: the file it points to is replaced (dotfile managers link
// these files into place). An existing file keeps its permission bits; a new one gets the
// usual ones (0666 less the umask). On failure nothing is left behind and the failure says why
// in the system's own words, e.g. "cannot write /x/y: No space left on device".
//
// Before it writes, it removes what earlier calls left beside the target when their process
// was killed before the rename (see removeLeftovers), and nothing else.
Result<> replaceFile(const QString& path, const QByteArray& bytes);

// Creates `folder` and the parents it lacks (0777 less the umask, as mkdir -p does). On
// failure the reason names the folder that could not be made and the system's reason.
Result<> makeFolders(const QString& folder);

// Removes what runs killed half-way left in `folder`: entries whose name is `name` exactly,
// owned by this user and unchanged for a minute (so a run still at work keeps its own). A
// regular file goes. A folder goes only when every entry in it is a regular file of this
// user's named as one of `inside`, and then with them. Nothing else is touched, and a link is
// never followed.
void removeLeftovers(const QString& folder, const OwnName& name, const QList<OwnName>& inside = {});

} // namespace marten
