#pragma once

#include <QString>

#include <memory>

#include <sys/types.h>

class QTemporaryDir;

namespace marten {

// A folder that only this user can reach, for files the program writes and then reads back
// (the GIF view's page and its image copy). Fixed names in a shared folder such as /tmp
// would let another user plant a link there and have us write through it.
class PrivateFolder final {
public:
    // "$XDG_RUNTIME_DIR/marten-onboarding" for the user running the program.
    static PrivateFolder forCurrentUser();

    // "<runtimeDir>/marten-onboarding", created with mode 0700 if missing, when it passes
    // isPrivate() for `owner`. Otherwise a fresh temporary folder; one such folder is shared
    // by every holder and removed when the last holder goes away.
    static PrivateFolder acquire(const QString& runtimeDir, uid_t owner);

    // True for a real directory (not a link to one) owned by `owner`, with no permission bits
    // for group or others.
    static bool isPrivate(const QString& path, uid_t owner, QString* why = nullptr);

    bool isValid() const { return !m_path.isEmpty(); }
    QString path() const { return m_path; }
    QString filePath(const QString& name) const;
    bool isFallback() const { return m_fallback != nullptr; }
    // Why no folder could be had (when not valid).
    QString errorString() const { return m_error; }

private:
    QString m_path;
    QString m_error;
    std::shared_ptr<QTemporaryDir> m_fallback; // keeps a fallback folder alive while held
};

} // namespace marten
