#pragma once

#include "core/platform/InputAccessGranter.h"

#include <QByteArray>
#include <QString>

class QProcess;

namespace marten {

// Grants input access by running the privileged helper through pkexec, which asks for an
// administrator's password every time.
class PkexecInputAccessGranter final : public InputAccessGranter {
    Q_OBJECT
public:
    // The longest detail passed on, in characters.
    static constexpr qsizetype kMaxDetail = 300;
    // How much of the standard error is kept, in bytes: only its end is ever shown.
    static constexpr qsizetype kKeptError = 4096;

    // Runs `helper` through `pkexec` (absolute paths, as trusted() gives them); it can grant
    // only when neither is empty.
    PkexecInputAccessGranter(QString pkexec, QString helper, QObject* parent = nullptr);
    ~PkexecInputAccessGranter() override;

    bool canGrant() const override { return !m_pkexec.isEmpty() && !m_helper.isEmpty(); }
    void start() override;
    bool isRunning() const override { return m_process != nullptr; }

    // Where the install puts the helper for a program in `programDir`:
    // `<programDir>/../libexec/marten-onboarding/grant-input-access`.
    static QString helperBeside(const QString& programDir);

    // The canonical path of `path` when it is an executable regular file that only root can
    // change: the file and every folder above it up to / are owned by root and writable by no
    // group or other user, except for sticky folders such as /tmp, where nobody else may
    // rename or remove root's entries. Empty otherwise: anything else could be rewritten
    // before pkexec runs it as root.
    static QString trusted(const QString& path);

    // What pkexec's exit status means, given the end of what it wrote to standard error.
    static Outcome outcomeFor(int exitStatus, const QByteArray& errorTail);

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
