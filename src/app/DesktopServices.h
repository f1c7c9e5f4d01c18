#pragma once

#include "core/GrantAccessRunner.h"
#include "core/platform/InputAccessHelp.h"
#include "core/platform/URLOpener.h"
#include "screens/InputAccessPanel.h"

#include <QPointer>
#include <QWidget>

#include <memory>

namespace marten {

class InputAccessWatcher;
class Scheduler;

// Opens URLs with the desktop's handler for their scheme.
class DesktopURLOpener final : public URLOpener {
public:
    bool open(const QUrl& url) override;
};

// What the one-click grant runs: pkexec at the absolute path found when the build was
// configured (never looked up on PATH, where a user's own folder may come first), and the
// helper installed beside the program (`<exe dir>/../libexec/marten-onboarding/
// grant-input-access`). Either is empty unless it is there and only root can change it.
struct GrantAccessTools {
    QString pkexec;
    QString helper;
    bool usable() const { return !pkexec.isEmpty() && !helper.isEmpty(); }
    static GrantAccessTools find(const QString& programDir);
    static GrantAccessTools find(const QString& programDir, const QString& pkexec);
};

// Linux has no settings page for input access: the help is a panel over the window.
class PanelInputAccessHelp final : public InputAccessHelp {
public:
    explicit PanelInputAccessHelp(Scheduler& scheduler);
    ~PanelInputAccessHelp() override;

    // The window the panel covers, and the watcher that closes it once access is there.
    // The panel offers "Grant Access" when `tools` are usable; without them, when pkexec and
    // the helper beside this program are.
    void attach(QWidget* host, InputAccessWatcher* watcher);
    void attach(QWidget* host, InputAccessWatcher* watcher, const GrantAccessTools& tools);
    void showInputAccessHelp() override;
    InputAccessPanel* panel() const { return m_panel; }

private:
    Scheduler& m_scheduler;
    QPointer<QWidget> m_host;
    InputAccessWatcher* m_watcher = nullptr;
    // Outlives the panels: a prompt left open when the panel closes still grants.
    std::unique_ptr<GrantAccessRunner> m_runner;
    QPointer<InputAccessPanel> m_panel;
};

} // namespace marten
