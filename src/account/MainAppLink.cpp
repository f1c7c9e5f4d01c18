#include "account/MainAppLink.h"

#include "platform/Console.h"
#include "platform/NotificationCenter.h"
#include "platform/Scheduler.h"

namespace marten {

const QString MainAppLink::startOAuth = QStringLiteral("com.marten.startOAuth");
const QString MainAppLink::startPurchase = QStringLiteral("com.marten.startPurchase");
const QString MainAppLink::authCompleted = QStringLiteral("com.marten.authCompleted");

MainAppLink::MainAppLink(NotificationCenter& notifications, Scheduler& scheduler, Console& console)
    : m_notifications(notifications), m_scheduler(scheduler), m_console(console)
{
}

void MainAppLink::handleSignIn(const QObject* context, std::function<void()> nextStep)
{
    request(startOAuth, QStringLiteral("=== handleSignIn called ==="),
            QStringLiteral("Sent OAuth request to main app"), context, std::move(nextStep));
}

void MainAppLink::handlePurchase(const QObject* context, std::function<void()> nextStep)
{
    request(startPurchase, QStringLiteral("=== handlePurchase called ==="),
            QStringLiteral("Sent purchase request to main app"), context, std::move(nextStep));
}

void MainAppLink::request(const QString& name, const QString& calledLine, const QString& sentLine,
                          const QObject* context, std::function<void()> nextStep)
{
    m_console.line(calledLine);
    m_notifications.post(name, {{QStringLiteral("source"), QStringLiteral("ftue")}});
    m_console.line(sentLine);
    m_scheduler.after(std::chrono::seconds(1), context, std::move(nextStep));
}

void MainAppLink::observeAuthCompletion(QObject* context, std::function<void()> onCompleted)
{
    m_notifications.observe(
        authCompleted, context,
        [this, onCompleted = std::move(onCompleted)](const QString&, const UserInfo&) {
            m_console.line(QStringLiteral("Received auth completion notification from main app"));
            onCompleted();
        });
}

} // namespace marten
