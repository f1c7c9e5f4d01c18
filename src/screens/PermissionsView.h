#pragma once

#include "core/platform/Scheduler.h"
#include "screens/ScreenContext.h"

#include <QWidget>

class QLabel;

namespace marten {

class Card;
class StyledButton;

// The input-access step: explains why access is needed, shows how to grant it, and then
// watches for the grant once a second. Emits granted() shortly after it sees it.
//
// At most one watch runs per screen, and it stops when the screen is hidden or destroyed,
// so a screen the flow has moved past can never move the flow again.
class PermissionsView final : public QWidget {
    Q_OBJECT
public:
    explicit PermissionsView(const ScreenContext& context, QWidget* parent = nullptr);

    // A poll started from this screen has not yet seen the grant.
    bool isChecking() const { return m_isChecking; }
    // The screen has seen the access granted.
    bool permissionGranted() const { return m_permissionGranted; }

signals:
    void granted();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    Card* buildCapabilities();
    QWidget* buildCheckingRow();
    void openSettings();
    void onPolledGrant();
    void stopPolling();
    void scheduleGranted(Scheduler::Duration delay);
    void refresh();

    ScreenContext m_context;
    bool m_isChecking = false;
    bool m_permissionGranted = false;
    Scheduler::TaskId m_grantedCall = 0;

    QLabel* m_shield = nullptr; // simple program only
    StyledButton* m_openButton;
    QWidget* m_grantedLabel;
    QWidget* m_checkingRow;
};

} // namespace marten
