#pragma once

#include "core/Result.h"

#include <QByteArray>
#include <QString>

namespace marten {

// A folder only this user can reach, for files the program writes for others to read back
// (the GIF view's page and its image copy).
class StagingFolder {
public:
    virtual ~StagingFolder() = default;
    // Stores `bytes` as the file `name`, replacing whatever was there under that name. Fails,
    // with the reason, when it cannot (a folder that could not be had included).
    virtual Result<> writeFile(const QString& name, const QByteArray& bytes) const = 0;
};

} // namespace marten
