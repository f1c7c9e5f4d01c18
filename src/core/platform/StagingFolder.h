#pragma once

#include "core/Result.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <memory>

namespace marten {

// A folder only this user can reach, for files the program writes for others to read back
// (the GIF view's page and its image copy).
class StagingFolder {
public:
    virtual ~StagingFolder() = default;
    // Stores `bytes` as the file `name`, replacing whatever was there under that name. Fails,
    // with the reason, when it cannot (a folder that could not be had included).
    virtual Result<> writeFile(const QString& name, const QByteArray& bytes) const = 0;
    // Stores `bytes` as writeFile() does and hands back that very file, open for reading from
    // its start: a file put under the name afterwards does not change what the device reads.
    virtual Result<std::unique_ptr<QIODevice>> writeAndOpen(const QString& name,
                                                            const QByteArray& bytes) const = 0;
};

// Platform's staging folder where none is given: stores nothing, and every write says so.
class NoStagingFolder final : public StagingFolder {
public:
    Result<> writeFile(const QString&, const QByteArray&) const override { return none(); }
    Result<std::unique_ptr<QIODevice>> writeAndOpen(const QString&,
                                                    const QByteArray&) const override
    {
        return none();
    }

private:
    static Failure none()
    {
        return Failure{QStringLiteral("there is no folder to stage files in")};
    }
};

} // namespace marten
