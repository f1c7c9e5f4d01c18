#pragma once

#include "core/platform/SettingsStore.h"

#include <chrono>

namespace marten {

// The settings file shared with the main application: $XDG_CONFIG_HOME/Marten/Marten.conf,
// in the INI form QSettings reads and writes.
//
// All the flags go to disk in one atomic replacement, under the file's QSettings lock
// ("Marten.conf.lock"), so the main application's QSettings never interleaves with it. The
// lock is waited for a bounded time only. A file that QSettings cannot fully parse, or that
// is not UTF-8, is left exactly as it is: rewriting it would drop the lines it did not
// understand, or change the bytes of the values it decoded.
class QSettingsStore final : public SettingsStore {
public:
    // The standard file for this user.
    QSettingsStore();
    explicit QSettingsStore(QString filePath,
                            std::chrono::milliseconds lockPatience = std::chrono::seconds(2));

    Result<> setFlags(const QMap<QString, bool>& flags) override;

    QString fileName() const { return m_path; }

    // Largest settings file that is read.
    static constexpr qint64 maxFileSize = 4 * 1024 * 1024;

private:
    QString m_path;
    std::chrono::milliseconds m_lockPatience;
};

} // namespace marten
