#pragma once

#include <QString>

#include <functional>

class QObject;

namespace marten {

class Console;
class MainAppBus;

// Requests to the running main application, and its notice that a sign-in finished.
class MainAppLink final {
public:
    MainAppLink(MainAppBus& bus, Console& console);

    static const QString startOAuth;
    static const QString startPurchase;
    static const QString authCompleted;

    // Each logs, posts its request and logs again; nobody answers a request.
    void handleSignIn();
    void handlePurchase();

    // Calls `onCompleted` on the main thread for every sign-in completion notice, until
    // `context` is destroyed.
    void observeAuthCompletion(QObject* context, std::function<void()> onCompleted);

private:
    void request(const QString& name, const QString& calledLine, const QString& sentLine);

    MainAppBus& m_bus;
    Console& m_console;
};

} // namespace marten
