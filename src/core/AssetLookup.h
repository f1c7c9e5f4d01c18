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

// Largest media file the program reads.
constexpr qint64 maxAssetSize = 32 * 1024 * 1024;

// Location of the media file called `name`, or nothing. Searches, in order: the resource
// folder, its "assets" subfolder, ~/Documents/voice_to_text/assets, "../assets" beside the
// executable's folder, and "Resources/assets" above it. The first place that holds anything
// under that name decides: when that is not a regular file of at most maxAssetSize, there is
// no usable file and the answer is nothing. Nothing is cached.
std::optional<QUrl> findAssetURL(const QString& name, const AssetPaths& paths);

// The file to show for the media file `found` on a screen with `devicePixelRatio` device
// pixels to a logical one. Above 1, its twin drawn at twice the size ("glowy@2x.gif" beside
// "glowy.gif") when that is a usable file, judged as findAssetURL() judges; `found` otherwise.
// Only the found file's own folder is looked in.
QUrl sharperTwin(const QUrl& found, qreal devicePixelRatio);

} // namespace marten
