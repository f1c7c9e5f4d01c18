#pragma once

#include <QMap>
#include <QString>

#include <functional>

class QObject;

namespace marten {

using UserInfo = QMap<QString, QString>;

// The same-user message bus shared with the main application: named broadcasts with a
// string map. Posting never blocks and never reports failure to the caller; observers are
// called on the main thread.
class MainAppBus {
public:
    using Handler = std::function<void(const QString& name, const UserInfo& userInfo)>;

    virtual ~MainAppBus() = default;
    virtual void post(const QString& name, const UserInfo& userInfo) = 0;
    // Calls `handler` for every message called `name` until `context` is destroyed.
    virtual void observe(const QString& name, QObject* context, Handler handler) = 0;
    // Calls `ready` once, on the main thread, when every observation made so far has been
    // confirmed by the bus, or has failed for good; not at all once `context` is gone. A
    // notice sent after that is not missed.
    virtual void whenListening(QObject* context, std::function<void()> ready) = 0;
};

} // namespace marten
