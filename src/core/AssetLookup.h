#pragma once

#include <QString>
#include <QUrl>

#include <optional>

namespace marten {

// The places media files are looked for. Filled from the running process in main();
// tests point them at temporary folders.
struct AssetPaths {
    QString homeDir;     // the user's home directory
    QString argv0;       // the first process argument: the path the executable was started by
    QString resourceDir; // the installed resource folder (<exe dir>/../share/marten-onboarding)

    static AssetPaths forCurrentProcess();
};

// Location of an existing file (or directory) called `name`, or nothing. Searches, in order:
// the resource folder, its "assets" subfolder, ~/Documents/voice_to_text/assets, "../assets"
// beside the executable's folder, and "Resources/assets" above it. Nothing is cached.
std::optional<QUrl> findAssetURL(const QString& name, const AssetPaths& paths);

} // namespace marten
