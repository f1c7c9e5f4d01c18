#pragma once

#include "platform/linux/InputAccessPanel.h"

#include <QObject>
#include <QPointer>
#include <QUrl>

class QWidget;

namespace marten {

class AccessibilityProbe;
class Scheduler;

// Answers the desktop-settings links the onboarding opens. Linux has no settings page for
// input access, so the input-access link shows our own panel over `host` instead; the
// screen that opened it keeps polling as usual. Registered for the link's scheme for the
// handler's lifetime; destroy it before `host`'s event loop ends.
class SettingsLinkHandler final : public QObject {
    Q_OBJECT
public:
    static const QString kScheme;

    // `host` null: the panel goes over the active window.
    SettingsLinkHandler(Scheduler& scheduler, const AccessibilityProbe& probe, QWidget* host,
                        QObject* parent = nullptr);
    ~SettingsLinkHandler() override;
    SettingsLinkHandler(const SettingsLinkHandler&) = delete;
    SettingsLinkHandler& operator=(const SettingsLinkHandler&) = delete;

    // The panel on display, or null.
    InputAccessPanel* panel() const { return m_panel; }
    // The last link received, as received.
    QUrl lastUrl() const { return m_lastUrl; }

    // Whether `url` is the link to the input-access settings.
    static bool isInputAccessLink(const QUrl& url);

public slots:
    // Called by QDesktopServices::openUrl() for links of kScheme.
    void openUrl(const QUrl& url);

private:
    Scheduler& m_scheduler;
    const AccessibilityProbe& m_probe;
    QPointer<QWidget> m_host;
    QPointer<InputAccessPanel> m_panel;
    QUrl m_lastUrl;
};

} // namespace marten
