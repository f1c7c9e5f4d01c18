#pragma once

#include <QMap>
#include <QString>

#include <functional>

class QObject;

namespace marten {

using UserInfo = QMap<QString, QString>;

// Same-user broadcast of named notifications between processes. Posting never blocks and
// never reports failure to the caller; observers are called on the main thread.
class NotificationCenter {
public:
    using Handler = std::function<void(const QString& name, const UserInfo& userInfo)>;

    virtual ~NotificationCenter() = default;
    virtual void post(const QString& name, const UserInfo& userInfo) = 0;
    // Calls `handler` for every notification called `name` until `context` is destroyed.
    virtual void observe(const QString& name, QObject* context, Handler handler) = 0;
};

} // namespace marten
