#pragma once

#include "core/platform/Scheduler.h"

#include <QList>
#include <QString>
#include <QWidget>

class QAbstractButton;

namespace marten {

// The terminal commands that grant input access by hand: the same rule file and module file
// the one-click grant writes, applied at once, so no new login is needed. Each command sits
// in a grey card with a button that copies it.
class InputAccessCommands final : public QWidget {
    Q_OBJECT
public:
    struct Command {
        QString title;
        QString command;
    };

    InputAccessCommands(Scheduler& scheduler, QWidget* parent);

    // What to run, in order.
    static QList<Command> commands();

private:
    QWidget* buildCommand(int index, const Command& step);
    void copy(QAbstractButton* button, const QString& command);

    Scheduler& m_scheduler;
};

} // namespace marten
