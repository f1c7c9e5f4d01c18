#include "core/GrantAccessRunner.h"

#include <QProcess>

namespace marten {
namespace {

// pkexec's own statuses; anything else is the helper's.
constexpr int kStatusDismissed = 126;
constexpr int kStatusNotAuthorised = 127;

QString lastLine(const QByteArray& output)
{
    const QList<QByteArray> lines = output.split('\n');
    for (auto it = lines.crbegin(); it != lines.crend(); ++it) {
        const QString line = QString::fromLocal8Bit(*it).trimmed();
        if (!line.isEmpty())
            return line;
    }
    return {};
}

} // namespace

GrantAccessRunner::GrantAccessRunner(QString pkexec, QString helper, QObject* parent)
    : QObject(parent), m_pkexec(std::move(pkexec)), m_helper(std::move(helper))
{
}

GrantAccessRunner::~GrantAccessRunner()
{
    // A run still waiting on its prompt goes with the program; don't wait for the prompt.
    if (m_process) {
        m_process->disconnect(this);
        m_process->kill();
        m_process->waitForFinished(1000);
    }
}

GrantAccessRunner::Outcome GrantAccessRunner::outcomeFor(int exitStatus)
{
    switch (exitStatus) {
    case 0:
        return Outcome::Granted;
    case kStatusDismissed:
        return Outcome::Dismissed;
    case kStatusNotAuthorised:
        return Outcome::NotAuthorised;
    default:
        return Outcome::Failed;
    }
}

void GrantAccessRunner::start()
{
    if (m_process)
        return;
    m_process = new QProcess(this);
    m_process->setProgram(m_pkexec);
    m_process->setArguments({m_helper});
    m_process->setStandardInputFile(QProcess::nullDevice());
    m_process->setStandardOutputFile(QProcess::nullDevice());
    connect(m_process, &QProcess::finished, this, [this](int status, QProcess::ExitStatus how) {
        onFinished(status, how == QProcess::CrashExit);
    });
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            onStartFailed();
    });
    m_process->start();
    if (m_process)
        emit started();
}

void GrantAccessRunner::onFinished(int exitStatus, bool crashed)
{
    const QString detail = lastLine(m_process->readAllStandardError());
    if (crashed)
        finish(Outcome::Failed, detail.isEmpty() ? m_process->errorString() : detail);
    else
        finish(outcomeFor(exitStatus), detail);
}

void GrantAccessRunner::onStartFailed()
{
    finish(Outcome::Failed, m_pkexec + QStringLiteral(": ") + m_process->errorString());
}

void GrantAccessRunner::finish(Outcome outcome, const QString& detail)
{
    QProcess* done = m_process;
    m_process = nullptr;
    done->disconnect(this);
    done->deleteLater();
    emit finished(outcome, detail);
}

} // namespace marten
