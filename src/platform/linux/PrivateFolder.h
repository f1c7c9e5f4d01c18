#pragma once

#include "core/Result.h"
#include "core/platform/StagingFolder.h"

#include <QByteArray>
#include <QString>

#include <memory>

#include <sys/types.h>

namespace marten {

// A folder that only this user can reach, for files the program writes and then reads back
// (the GIF view's page and its image copy). Fixed names in a shared folder such as /tmp
// would let another user plant a link there and have us write through it.
//
// The folder is opened once and judged on that open descriptor; every later step works
// relative to the descriptor, never by path. Whoever can rename entries in the folder's parent
// may swap the path for a link afterwards: the writes still land in the folder that was judged.
class PrivateFolder final : public StagingFolder {
public:
    // "$XDG_RUNTIME_DIR/marten-onboarding" for the user running the program.
    static Result<PrivateFolder> forCurrentUser();

    // "<runtimeDir>/marten-onboarding", created with mode 0700 if missing, when it passes
    // the privacy check for `owner`. Otherwise a fresh temporary folder; one such folder is
    // shared by every holder and removed when the last holder goes away. Fails only when
    // neither can be had.
    static Result<PrivateFolder> acquire(const QString& runtimeDir, uid_t owner);

    // A folder that could not be had: every write fails with `why`.
    static PrivateFolder unavailable(Failure why);

    // Where the folder was found; for messages and for other programs, not for our own writes.
    QString path() const;
    QString filePath(const QString& name) const;

    // Stores `bytes` as the file `name` in the folder (mode 0600), replacing whatever was
    // there under that name; a link found there is removed, never followed.
    Result<> writeFile(const QString& name, const QByteArray& bytes) const override;
    // The same, handing back the descriptor it wrote through: whatever later takes the name
    // is a new file, so the device goes on reading these bytes.
    Result<std::unique_ptr<QIODevice>> writeAndOpen(const QString& name,
                                                    const QByteArray& bytes) const override;

private:
    struct Handle;
    // The open folder, or why it is not private to `owner` (the reason alone).
    static Result<std::shared_ptr<Handle>> open(const QString& path, uid_t owner);
    // Writes the file `name` and returns its descriptor, open for reading and writing.
    Result<int> create(const QString& name, const QByteArray& bytes) const;
    QString cannotWrite(const QString& name) const;

    std::shared_ptr<Handle> m_dir;
    Failure m_unavailable;
};

} // namespace marten
