#pragma once

#include "core/Variant.h"
#include "core/platform/Scheduler.h"
#include "ui/Overlay.h"

class QScrollArea;

namespace marten {

class GrantAccessRow;
class InputAccessGranter;

// Gives the user's login input access, over the onboarding window: "Grant Access" has the
// granter make the change, and the same change is spelled out as terminal commands below it.
// An overlay that does not block: whoever shows it closes it once access is there. Escape or
// "Close" dismisses it. Screen readers meet it as a dialog.
class InputAccessPanel final : public Overlay {
    Q_OBJECT
public:
    // Where the granter cannot grant, the panel offers only the commands.
    InputAccessPanel(Scheduler& scheduler, InputAccessGranter& granter, QWidget* host);

    // The style of the panel's main button ("Grant Access"): the program's primary one.
    void setPrimaryButtonStyle(ButtonStyle style);

protected:
    QSize sheetSize(const QSize& area) const override;

private:
    void buildText(QWidget* sheet);

    Scheduler& m_scheduler;
    QScrollArea* m_scroll;
    GrantAccessRow* m_grant = nullptr;
};

} // namespace marten
