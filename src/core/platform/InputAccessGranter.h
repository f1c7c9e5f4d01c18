#pragma once

#include <QObject>
#include <QString>

namespace marten {

// Gives this machine's logins input access in one step, after an administrator's approval,
// without waiting for it: the approval prompt may stay up for as long as the user likes.
// One run at a time. Main thread only.
class InputAccessGranter : public QObject {
    Q_OBJECT
public:
    enum class Outcome {
        Granted,       // the change was made
        Dismissed,     // the prompt was closed without an answer; nothing changed
        NotAuthorised, // this account may not make the change
        Stopped,       // the run was killed before it finished
        Failed,        // the run failed; see the detail
    };
    Q_ENUM(Outcome)

    using QObject::QObject;

    // Whether a run can be offered here at all; without it only the commands are shown.
    virtual bool canGrant() const = 0;
    // Starts a run unless one is going on.
    virtual void start() = 0;
    virtual bool isRunning() const = 0;

signals:
    void started();
    // `detail` is one line on what went wrong, or empty when there is nothing to add.
    void finished(marten::InputAccessGranter::Outcome outcome, const QString& detail);
};

} // namespace marten
