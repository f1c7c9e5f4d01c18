#pragma once

#include <QByteArray>
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
        Stopped,       // pkexec or the helper was killed before it finished
        Failed,        // the helper, or pkexec itself, failed; see the detail
    };

    // The longest detail passed on, in characters.
    static constexpr qsizetype kMaxDetail = 300;
    // How much of the standard error is kept, in bytes: only its end is ever shown.
    static constexpr qsizetype kKeptError = 4096;

    // `pkexec` and `helper` are absolute paths.
    GrantAccessRunner(QString pkexec, QString helper, QObject* parent = nullptr);
    ~GrantAccessRunner() override;

    // Starts a run unless one is going on.
    void start();
    bool isRunning() const { return m_process != nullptr; }

    // What pkexec's exit status means, given the end of what it wrote to standard error.
    static Outcome outcomeFor(int exitStatus, const QByteArray& errorTail);

    // True when `path` is a regular file that only root can change: the file and every folder
    // above it up to / are owned by root and writable by no group or other user, except for
    // sticky folders such as /tmp, where nobody else may rename or remove root's entries.
    // Anything else could be rewritten before pkexec runs it as root.
    static bool onlyRootCanChange(const QString& path);

signals:
    void started();
    // `detail` is the last non-empty line the helper or pkexec wrote to standard error (cut
    // to kMaxDetail characters), or what went wrong with the process itself; empty when
    // there is nothing to add.
    void finished(marten::GrantAccessRunner::Outcome outcome, const QString& detail);

private:
    void readError();
    void onFinished(int exitStatus, bool crashed);
    void onStartFailed();
    void finish(Outcome outcome, const QString& detail);

    QString m_pkexec;
    QString m_helper;
    QProcess* m_process = nullptr;
    QByteArray m_errorTail;
};

} // namespace marten
