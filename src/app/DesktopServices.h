#pragma once

#include "core/platform/InputAccessHelp.h"
#include "core/platform/URLOpener.h"
#include "screens/InputAccessPanel.h"

#include <QPointer>
#include <QWidget>

namespace marten {


class InputAccessWatcher;
class Scheduler;

// Opens URLs with the desktop's handler for their scheme.
class DesktopURLOpener final : public URLOpener {
public:
    bool open(const QUrl& url) override;
};

// Linux has no settings page for input access: the help is a panel over the window.
class PanelInputAccessHelp final : public InputAccessHelp {
public:
    explicit PanelInputAccessHelp(Scheduler& scheduler);

    // The window the panel covers, and the watcher that closes it once access is there.
    void attach(QWidget* host, InputAccessWatcher* watcher);
    void showInputAccessHelp() override;
    InputAccessPanel* panel() const { return m_panel; }

private:
    Scheduler& m_scheduler;
    QPointer<QWidget> m_host;
    InputAccessWatcher* m_watcher = nullptr;
    QPointer<InputAccessPanel> m_panel;
};

} // namespace marten
