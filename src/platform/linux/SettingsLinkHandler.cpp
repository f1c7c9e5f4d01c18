#include "platform/linux/SettingsLinkHandler.h"

#include "platform/linux/InputAccessPanel.h"

#include <QApplication>
#include <QDesktopServices>
#include <QWidget>

namespace marten {

const QString SettingsLinkHandler::kScheme = QStringLiteral("x-apple.systempreferences");

SettingsLinkHandler::SettingsLinkHandler(Scheduler& scheduler, const AccessibilityProbe& probe,
                                         QWidget* host, QObject* parent)
    : QObject(parent), m_scheduler(scheduler), m_probe(probe), m_host(host)
{
    setObjectName(QStringLiteral("settingsLinkHandler"));
    QDesktopServices::setUrlHandler(kScheme, this, "openUrl");
}

SettingsLinkHandler::~SettingsLinkHandler()
{
    QDesktopServices::unsetUrlHandler(kScheme);
}

bool SettingsLinkHandler::isInputAccessLink(const QUrl& url)
{
    return url.scheme() == kScheme &&
           url.path() == QLatin1String("com.apple.preference.security") &&
           url.query() == QLatin1String("Privacy_Accessibility");
}

void SettingsLinkHandler::openUrl(const QUrl& url)
{
    m_lastUrl = url;
    // Other settings pages have no counterpart here.
    if (!isInputAccessLink(url))
        return;
    QWidget* host = m_host ? m_host.data() : QApplication::activeWindow();
    if (!host)
        return;
    // A closed panel is on its way out; a panel over another window is left to it.
    if (m_panel && (m_panel->isHidden() || m_panel->parentWidget() != host))
        m_panel = nullptr;
    if (!m_panel)
        m_panel = new InputAccessPanel(m_scheduler, m_probe, host);
    m_panel->present();
}

} // namespace marten
