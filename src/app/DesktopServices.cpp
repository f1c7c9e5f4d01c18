#include "app/DesktopServices.h"

#include "app/OnboardingWindow.h"
#include "core/OnboardingFlow.h"
#include "screens/InputAccessPanel.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace marten {

bool DesktopURLOpener::open(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

GrantAccessTools GrantAccessTools::find(const QString& programDir)
{
    return find(programDir, QStringLiteral(MARTEN_PKEXEC_PATH));
}

GrantAccessTools GrantAccessTools::find(const QString& programDir, const QString& pkexec)
{
    // Anything the user could rewrite would run as root after an administrator's password:
    // without a helper and pkexec that only root controls, the panel shows the commands only.
    // Both are run by their canonical paths, the ones that were checked.
    GrantAccessTools tools;
    if (QFileInfo(pkexec).isExecutable() && GrantAccessRunner::onlyRootCanChange(pkexec))
        tools.pkexec = QFileInfo(pkexec).canonicalFilePath();
    const QFileInfo helper(
        QDir(programDir)
            .filePath(QStringLiteral("../libexec/marten-onboarding/grant-input-access")));
    if (helper.isExecutable() && GrantAccessRunner::onlyRootCanChange(helper.filePath()))
        tools.helper = helper.canonicalFilePath();
    return tools;
}

PanelInputAccessHelp::PanelInputAccessHelp(Scheduler& scheduler) : m_scheduler(scheduler) {}

PanelInputAccessHelp::~PanelInputAccessHelp() = default;

void PanelInputAccessHelp::attach(QWidget* host, InputAccessWatcher* watcher)
{
    attach(host, watcher, GrantAccessTools::find(QCoreApplication::applicationDirPath()));
}

void PanelInputAccessHelp::attach(QWidget* host, InputAccessWatcher* watcher,
                                  const GrantAccessTools& tools)
{
    m_host = host;
    m_watcher = watcher;
    if (tools.usable())
        m_runner = std::make_unique<GrantAccessRunner>(tools.pkexec, tools.helper);
    else
        m_runner.reset();
}

void PanelInputAccessHelp::showInputAccessHelp()
{
    if (!m_host || !m_watcher)
        return;
    // A closed panel is on its way out.
    if (m_panel && m_panel->isHidden())
        m_panel = nullptr;
    if (!m_panel) {
        m_panel = new InputAccessPanel(m_scheduler, *m_watcher, m_runner.get(), m_host);
        if (const auto* window = qobject_cast<OnboardingWindow*>(m_host.data()))
            m_panel->setPrimaryButtonStyle(window->flow().traits().primaryButtonStyle);
    }
    m_panel->present();
}

} // namespace marten
