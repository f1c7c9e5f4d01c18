#pragma once

#include <QObject>

#include <functional>

namespace marten {

class Console;
class NotificationCenter;
class Scheduler;

// Requests to the running main application, and its notice that a sign-in finished.
class MainAppLink final {
public:
    MainAppLink(NotificationCenter& notifications, Scheduler& scheduler, Console& console);

    static const QString startOAuth;
    static const QString startPurchase;
    static const QString authCompleted;

    // Each posts its request, then calls `nextStep` one second later whatever happens.
    // `context` bounds the delayed call's lifetime.
    void handleSignIn(const QObject* context, std::function<void()> nextStep);
    void handlePurchase(const QObject* context, std::function<void()> nextStep);

    // Calls `onCompleted` on the main thread for every sign-in completion notice, until
    // `context` is destroyed.
    void observeAuthCompletion(QObject* context, std::function<void()> onCompleted);

private:
    void request(const QString& name, const QString& calledLine, const QString& sentLine,
                 const QObject* context, std::function<void()> nextStep);

    NotificationCenter& m_notifications;
    Scheduler& m_scheduler;
    Console& m_console;
};

} // namespace marten
