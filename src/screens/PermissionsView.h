#pragma once

#include "screens/ScreenContext.h"

#include <QWidget>

class QLabel;

namespace marten {

class Card;
class StyledButton;

// The input-access step: explains why access is needed and offers the way to grant it. It
// shows the state the flow holds (granted, being checked) and reports the button's press to
// the flow.
class PermissionsView final : public QWidget {
    Q_OBJECT
public:
    explicit PermissionsView(const ScreenContext& context, QWidget* parent = nullptr);

    // Shows access as granted, or else as being checked or not.
    void showAccess(bool granted, bool checking);

signals:
    // "Open System Settings" was pressed.
    void openHelpRequested();

private:
    Card* buildCapabilities();
    QWidget* buildCheckingRow();
    void refresh();

    ScreenContext m_context;
    bool m_isChecking = false;
    bool m_permissionGranted = false;

    QLabel* m_shield = nullptr; // where the program shows one
    StyledButton* m_openButton;
    QWidget* m_grantedLabel;
    QWidget* m_checkingRow;
};

} // namespace marten
