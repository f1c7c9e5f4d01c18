#pragma once

#include "platform/AccessibilityProbe.h"
#include "platform/AppControl.h"
#include "platform/Console.h"
#include "platform/LoginItem.h"
#include "platform/NotificationCenter.h"
#include "platform/Platform.h"
#include "platform/Scheduler.h"
#include "platform/UrlOpener.h"
#include "platform/UserDefaults.h"

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

class Probe final : public AccessibilityProbe {
public:
    explicit Probe(bool initiallyTrusted = false) : trusted(initiallyTrusted) {}
    bool isTrusted() const override
    {
        ++calls;
        return trusted.load();
    }
    std::atomic<bool> trusted;
    mutable std::atomic<int> calls{0};
};

class Defaults final : public UserDefaults {
public:
    bool setBool(const QString& key, bool value, QString* error) override;
    QMap<QString, bool> values;
    QString failWith; // non-empty: every write fails with this reason
};

class LoginItem final : public marten::LoginItem {
public:
    bool registerMainApp(QString* error) override;
    int registrations = 0;
    QString failWith;
};

class AppControl final : public marten::AppControl {
public:
    void quit() override { ++quits; }
    void raiseAndActivate(QWidget* window) override;
    int quits = 0;
    int raises = 0;
    QWidget* lastRaised = nullptr;
};

class UrlOpener final : public marten::UrlOpener {
public:
    bool open(const QUrl& url) override
    {
        opened.append(url);
        return true;
    }
    QList<QUrl> opened;
};

class NotificationCenter final : public marten::NotificationCenter {
public:
    struct Posted {
        QString name;
        UserInfo userInfo;
    };
    void post(const QString& name, const UserInfo& userInfo) override;
    void observe(const QString& name, QObject* context, Handler handler) override;
    // Delivers a notification to the live observers of `name`, as the bus would.
    void deliver(const QString& name, const UserInfo& userInfo = {});
    int observerCount(const QString& name) const;
    QList<Posted> posted;

private:
    struct Observer {
        QString name;
        QPointer<QObject> context;
        Handler handler;
    };
    QList<Observer> m_observers;
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

// All of the above, bundled as a Platform.
struct Services {
    Scheduler scheduler;
    Probe probe;
    Defaults defaults;
    LoginItem loginItem;
    AppControl app;
    UrlOpener urls;
    NotificationCenter notifications;
    Console console;
    Platform platform{scheduler, probe,         defaults, loginItem, app,
                      urls,      notifications, console,  {},        {}};
};

} // namespace marten::fake
