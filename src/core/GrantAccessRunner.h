#pragma once

#include <QObject>
#include <QString>

class QProcess;

namespace marten {

// Runs the privileged helper that grants input access through pkexec, without waiting for
// it: the password prompt may stay up for as long as the user likes. One run at a time.
class GrantAccessRunner final : public QObject {
    Q_OBJECT
public:
    enum class Outcome {
        Granted,       // the helper ran and succeeded
        Dismissed,     // the prompt was closed without an answer; nothing changed
        NotAuthorised, // polkit refused: this account may not do it
        Failed,        // the helper, or pkexec itself, failed; see the detail
    };

    // `pkexec` and `helper` are absolute paths.
    GrantAccessRunner(QString pkexec, QString helper, QObject* parent = nullptr);
    ~GrantAccessRunner() override;

    // Starts a run unless one is going on.
    void start();
    bool isRunning() const { return m_process != nullptr; }

    // What pkexec's exit status means.
    static Outcome outcomeFor(int exitStatus);

signals:
    void started();
    // `detail` is the last non-empty line the helper or pkexec wrote to standard error, or
    // what went wrong with the process itself; empty when there is nothing to add.
    void finished(marten::GrantAccessRunner::Outcome outcome, const QString& detail);

private:
    void onFinished(int exitStatus, bool crashed);
    void onStartFailed();
    void finish(Outcome outcome, const QString& detail);

    QString m_pkexec;
    QString m_helper;
    QProcess* m_process = nullptr;
};

} // namespace marten
