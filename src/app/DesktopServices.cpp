#include "app/DesktopServices.h"

#include "screens/InputAccessPanel.h"

#include <QDesktopServices>
#include <QUrl>

namespace marten {

bool DesktopURLOpener::open(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

PanelInputAccessHelp::PanelInputAccessHelp(Scheduler& scheduler) : m_scheduler(scheduler) {}

void PanelInputAccessHelp::attach(QWidget* host, InputAccessWatcher* watcher)
{
    m_host = host;
    m_watcher = watcher;
}

void PanelInputAccessHelp::showInputAccessHelp()
{
    if (!m_host || !m_watcher)
        return;
    // A closed panel is on its way out.
    if (m_panel && m_panel->isHidden())
        m_panel = nullptr;
    if (!m_panel)
        m_panel = new InputAccessPanel(m_scheduler, *m_watcher, m_host);
    m_panel->present();
}

} // namespace marten
