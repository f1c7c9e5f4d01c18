#include "core/MainAppLink.h"

#include "core/platform/Console.h"
#include "core/platform/MainAppBus.h"

namespace marten {

const QString MainAppLink::startOAuth = QStringLiteral("com.marten.startOAuth");
const QString MainAppLink::startPurchase = QStringLiteral("com.marten.startPurchase");
const QString MainAppLink::authCompleted = QStringLiteral("com.marten.authCompleted");

MainAppLink::MainAppLink(MainAppBus& bus, Console& console) : m_bus(bus), m_console(console) {}

void MainAppLink::handleSignIn()
{
    request(startOAuth, QStringLiteral("=== handleSignIn called ==="),
            QStringLiteral("Sent OAuth request to main app"));
}

void MainAppLink::handlePurchase()
{
    request(startPurchase, QStringLiteral("=== handlePurchase called ==="),
            QStringLiteral("Sent purchase request to main app"));
}

void MainAppLink::request(const QString& name, const QString& calledLine, const QString& sentLine)
{
    m_console.line(calledLine);
    m_bus.post(name, {{QStringLiteral("source"), QStringLiteral("ftue")}});
    m_console.line(sentLine);
}

void MainAppLink::observeAuthCompletion(QObject* context, std::function<void()> onCompleted)
{
    m_bus.observe(authCompleted, context,
                  [this, onCompleted = std::move(onCompleted)](const QString&, const UserInfo&) {
                      m_console.line(
                          QStringLiteral("Received auth completion notification from main app"));
                      onCompleted();
                  });
}

} // namespace marten
