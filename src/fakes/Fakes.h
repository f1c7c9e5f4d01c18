#pragma once

#include "core/platform/Autostart.h"
#include "core/platform/Console.h"
#include "core/platform/InputAccessGranter.h"
#include "core/platform/InputAccessProbe.h"
#include "core/platform/MainAppBus.h"
#include "core/platform/Platform.h"
#include "core/platform/PushToTalkKeys.h"
#include "core/platform/Scheduler.h"
#include "core/platform/SettingsStore.h"
#include "core/platform/StagingFolder.h"
#include "core/platform/URLOpener.h"

#include <QBuffer>
#include <QList>
#include <QMap>
#include <QMutex>
#include <QPointer>
#include <QStringList>
#include <QUrl>

#include <atomic>
#include <memory>
#include <vector>

// In-memory stand-ins for the platform services, for tests and for rendering screens
// without touching the machine.
namespace marten::fake {

// A clock that only moves when told to.
class Scheduler final : public marten::Scheduler {
public:
    TaskId after(Duration delay, const QObject* context, std::function<void()> task) override;
    TaskId every(Duration interval, const QObject* context, std::function<void()> task) override;
    void cancel(TaskId id) override;

    // Moves the clock forward, running every task that falls due, in time order.
    void advance(Duration by);
    Duration now() const { return m_now; }
    int pendingCount() const;

private:
    struct Task {
        TaskId id;
        Duration due;
        Duration interval; // zero for one-shot tasks
        QPointer<const QObject> context;
        bool guarded;
        std::function<void()> run;
    };
    TaskId add(Duration delay, Duration interval, const QObject* context,
               std::function<void()> task);

    Duration m_now{0};
    TaskId m_next = 1;
    std::vector<std::shared_ptr<Task>> m_tasks;
};

class Probe final : public InputAccessProbe {
public:
    explicit Probe(bool initiallyGranted = false) : granted(initiallyGranted) {}
    bool hasInputAccess() const override
    {
        ++calls;
        return granted.load();
    }
    QStringList readableKeyboards() const override { return keyboards; }
    std::atomic<bool> granted;
    QStringList keyboards; // main thread only
    mutable std::atomic<int> calls{0};
};

// Opens whatever it is given, except the paths in `unopenable`; press() and release() are the key.
class PushToTalkKeys final : public marten::PushToTalkKeys {
    Q_OBJECT
public:
    int start(const QStringList& devicePaths) override
    {
        open.clear();
        for (const QString& path : devicePaths) {
            if (!unopenable.contains(path))
                open.append(path);
        }
        return static_cast<int>(open.size());
    }
    void stop() override { open.clear(); }
    void press() { emit pressed(); }
    void release() { emit released(); }
    QStringList open;
    QStringList unopenable;
};

class Settings final : public SettingsStore {
public:
    Result<> setFlags(const QMap<QString, bool>& flags) override;
    QMap<QString, bool> values;
    int writes = 0;
    QString failWith; // non-empty: every write fails with this reason
};

class Autostart final : public marten::Autostart {
public:
    Result<> registerMainApp() override;
    int registrations = 0;
    QString failWith;
};

// Grants when told: start() begins a run, finish() ends it with the outcome given.
class InputAccessGranter final : public marten::InputAccessGranter {
    Q_OBJECT
public:
    bool canGrant() const override { return grantable; }
    void start() override
    {
        if (running)
            return;
        running = true;
        ++runs;
        emit started();
    }
    bool isRunning() const override { return running; }
    void finish(Outcome outcome, const QString& detail = {})
    {
        running = false;
        emit finished(outcome, detail);
    }
    bool grantable = false;
    bool running = false;
    int runs = 0;
};

// Keeps what is staged in memory.
class StagingFolder final : public marten::StagingFolder {
public:
    Result<> writeFile(const QString& name, const QByteArray& bytes) const override
    {
        files.insert(name, bytes);
        return {};
    }
    Result<std::unique_ptr<QIODevice>> writeAndOpen(const QString& name,
                                                    const QByteArray& bytes) const override
    {
        files.insert(name, bytes);
        auto copy = std::make_unique<QBuffer>();
        copy->setData(bytes);
        copy->open(QIODevice::ReadOnly);
        return std::unique_ptr<QIODevice>(std::move(copy));
    }
    mutable QMap<QString, QByteArray> files;
};

class URLOpener final : public marten::URLOpener {
public:
    bool open(const QUrl& url) override
    {
        opened.append(url);
        return true;
    }
    QList<QUrl> opened;
};

class MainAppBus final : public marten::MainAppBus {
public:
    struct Posted {
        QString name;
        UserInfo userInfo;
    };
    void post(const QString& name, const UserInfo& userInfo) override;
    void observe(const QString& name, QObject* context, Handler handler) override;
    // Answers at once, unless `holdListening`: then confirmListening() answers.
    void whenListening(QObject* context, std::function<void()> ready) override;
    void confirmListening();
    // Delivers a notification to the live observers of `name`, as the bus would.
    void deliver(const QString& name, const UserInfo& userInfo = {});
    int observerCount(const QString& name) const;
    QList<Posted> posted;
    bool holdListening = false;

private:
    struct Observer {
        QString name;
        QPointer<QObject> context;
        Handler handler;
    };
    QList<Observer> m_observers;
    QList<QPair<QPointer<QObject>, std::function<void()>>> m_heldReady;
};

// Records lines; thread-safe, since the step decision logs from a worker thread.
class Console final : public marten::Console {
public:
    void line(const QString& text) override;
    QStringList lines() const;
    void clear();
    bool echo = false; // also print to stdout

private:
    mutable QMutex m_mutex;
    QStringList m_lines;
};

// All of the above, bundled as a Platform. A service that no test needs to see has no fake
// here: the Platform's do-nothing default stands in for it.
struct Services {
    Scheduler scheduler;
    Probe probe;
    InputAccessGranter granter;
    Settings settings;
    Autostart autostart;
    URLOpener urls;
    MainAppBus bus;
    Console console;
    StagingFolder staging;
    PushToTalkKeys keys;

    // These services as a Platform, asking `inputAccess` and `bus` instead where given.
    Platform platformWith(marten::InputAccessProbe* inputAccess = nullptr,
                          marten::MainAppBus* otherBus = nullptr)
    {
        return {.scheduler = scheduler,
                .inputAccess = inputAccess ? *inputAccess : probe,
                .inputAccessGranter = granter,
                .settings = settings,
                .bus = otherBus ? *otherBus : bus,
                .assets = {},
                .console = console,
                .autostart = autostart,
                .urls = urls,
                .staging = staging,
                .pushToTalkKeys = &keys};
    }
    Platform platform = platformWith();
};

} // namespace marten::fake
