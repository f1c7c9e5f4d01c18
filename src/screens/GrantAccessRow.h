#pragma once

#include "core/platform/InputAccessGranter.h"
#include "core/platform/Scheduler.h"

#include <QPointer>
#include <QWidget>

class QLabel;

namespace marten {

class Spinner;
class StyledButton;

// "Grant Access", a spinner while the granter waits on the approval prompt, and a line
// that says how the run went.
class GrantAccessRow final : public QWidget {
    Q_OBJECT
public:
    GrantAccessRow(Scheduler& scheduler, InputAccessGranter& granter, QWidget* parent);

    StyledButton* button() const { return m_button; }

signals:
    // The status line's text changed, and with it perhaps the row's height.
    void statusChanged();

private:
    void showWaiting();
    void onFinished(InputAccessGranter::Outcome outcome, const QString& detail);
    void showStatus(const QString& text, const QColor& colour);

    Scheduler& m_scheduler;
    StyledButton* m_button;
    Spinner* m_spinner;
    QLabel* m_status;
    Scheduler::TaskId m_sessionCheck = 0;
    bool m_focusBack = false;
};

} // namespace marten
