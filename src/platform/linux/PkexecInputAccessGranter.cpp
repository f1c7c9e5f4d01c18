#include "platform/linux/PkexecInputAccessGranter.h"

#include "platform/linux/ProcessSetup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <sys/stat.h>

namespace marten {
namespace {

// pkexec's own statuses; anything else is the helper's. pkexec exits 127 for every error of
// its own (a refusal, no authentication agent, not installed setuid), and says which on
// standard error, in English whatever the locale.
constexpr int kStatusDismissed = 126;
constexpr int kStatusPkexecError = 127;
constexpr char kNotAuthorised[] = "Not authorized";

// The last non-empty line, cut to a length a status line can show, with control characters
// made spaces.
QString lastLine(const QByteArray& output)
{
    const QList<QByteArray> lines = output.split('\n');
    for (auto it = lines.crbegin(); it != lines.crend(); ++it) {
        QString line = QString::fromLocal8Bit(*it).trimmed();
        if (line.isEmpty())
            continue;
        for (QChar& c : line) {
            if (c.category() == QChar::Other_Control)
                c = QLatin1Char(' ');
        }
        if (line.size() > PkexecInputAccessGranter::kMaxDetail)
            line = line.left(PkexecInputAccessGranter::kMaxDetail - 1) + QChar(0x2026);
        return line;
    }
    return {};
}

// Root owns it, and no group or other user may write to it; a folder may instead be sticky.
bool rootOnly(const struct stat& st, bool folder)
{
    if (st.st_uid != 0)
        return false;
    if ((st.st_mode & (S_IWGRP | S_IWOTH)) == 0)
        return true;
    return folder && (st.st_mode & S_ISVTX) != 0;
}

} // namespace

PkexecInputAccessGranter::PkexecInputAccessGranter(QString pkexec, QString helper, QObject* parent)
    : InputAccessGranter(parent), m_pkexec(std::move(pkexec)), m_helper(std::move(helper))
{
}

PkexecInputAccessGranter::~PkexecInputAccessGranter()
{
    // A run still waiting on its prompt goes with the program; don't wait for the prompt.
    if (m_process) {
        m_process->disconnect(this);
        m_process->kill();
        m_process->waitForFinished(1000);
    }
}

InputAccessGranter::Outcome PkexecInputAccessGranter::outcomeFor(int exitStatus,
                                                                 const QByteArray& errorTail)
{
    switch (exitStatus) {
    case 0:
        return Outcome::Granted;
    case kStatusDismissed:
        return Outcome::Dismissed;
    case kStatusPkexecError:
        return errorTail.contains(kNotAuthorised) ? Outcome::NotAuthorised : Outcome::Failed;
    default:
        return Outcome::Failed;
    }
}

QString PkexecInputAccessGranter::helperBeside(const QString& programDir)
{
    return QDir(programDir)
        .filePath(QStringLiteral("../libexec/marten-onboarding/grant-input-access"));
}

QString PkexecInputAccessGranter::trusted(const QString& path)
{
    // The canonical path has no symbolic links left, so each of its folders is one that a
    // lookup of it really passes through; it is also the path that is run.
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    if (canonical.isEmpty() || !info.isExecutable())
        return {};
    struct stat st {};
    if (::lstat(QFile::encodeName(canonical).constData(), &st) != 0 || !S_ISREG(st.st_mode) ||
        !rootOnly(st, false))
        return {};
    QDir folder = QFileInfo(canonical).dir();
    for (;;) {
        if (::lstat(QFile::encodeName(folder.path()).constData(), &st) != 0 ||
            !S_ISDIR(st.st_mode) || !rootOnly(st, true))
            return {};
        if (folder.isRoot())
            return canonical;
        folder.setPath(QFileInfo(folder.path()).path());
    }
}

void PkexecInputAccessGranter::start()
{
    if (m_process || !canGrant())
        return;
    m_errorTail.clear();
    m_process = new QProcess(this);
    m_process->setProgram(m_pkexec);
    m_process->setArguments({m_helper});
    m_process->setProcessEnvironment(process::startEnvironment());
    m_process->setStandardInputFile(QProcess::nullDevice());
    m_process->setStandardOutputFile(QProcess::nullDevice());
    m_process->setReadChannel(QProcess::StandardError);
    connect(m_process, &QProcess::readyReadStandardError, this,
            &PkexecInputAccessGranter::readError);
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

void PkexecInputAccessGranter::readError()
{
    // Read as it comes, keeping only the end: a flood on standard error costs no memory.
    char chunk[kKeptError];
    for (;;) {
        const qint64 got = m_process->read(chunk, sizeof chunk);
        if (got <= 0)
            break;
        m_errorTail.append(chunk, got);
        if (m_errorTail.size() > kKeptError)
            m_errorTail.remove(0, m_errorTail.size() - kKeptError);
    }
}

void PkexecInputAccessGranter::onFinished(int exitStatus, bool crashed)
{
    readError();
    if (crashed)
        finish(Outcome::Stopped, {});
    else
        finish(outcomeFor(exitStatus, m_errorTail), lastLine(m_errorTail));
}

void PkexecInputAccessGranter::onStartFailed()
{
    finish(Outcome::Failed, m_pkexec + QStringLiteral(": ") + m_process->errorString());
}

void PkexecInputAccessGranter::finish(Outcome outcome, const QString& detail)
{
    QProcess* done = m_process;
    m_process = nullptr;
    m_errorTail.clear();
    done->disconnect(this);
    done->deleteLater();
    emit finished(outcome, detail);
}

} // namespace marten
