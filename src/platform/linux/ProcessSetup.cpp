#include "platform/linux/ProcessSetup.h"

#include <QByteArray>
#include <QProcessEnvironment>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <optional>
#include <system_error>
#include <thread>

#include <fcntl.h>
#include <pwd.h>
#include <semaphore.h>
#include <unistd.h>

namespace marten::process {
namespace {

int g_signalPipe[2] = {-1, -1};
// Posted by the handler for the watchdog thread.
sem_t g_signalled;
volatile std::sig_atomic_t g_lastSignal = 0;

// How long the main thread has to end the process normally after a signal.
constexpr long kQuitGraceMs = 1500;

extern "C" void rememberSignal(int signal)
{
    const int saved = errno;
    g_lastSignal = signal;
    const char byte = 1;
    // Non-blocking: a full pipe already says "quit".
    [[maybe_unused]] const ssize_t written = ::write(g_signalPipe[1], &byte, 1);
    ::sem_post(&g_signalled);
    errno = saved;
}

// Ends the process when the main thread has not done so within the grace after the first
// signal, wherever it is stuck. Writes nothing: whatever the main thread was doing is left
// unfinished, as a kill would leave it.
void watchdog()
{
    while (::sem_wait(&g_signalled) != 0) {
    }
    struct timespec grace {
        kQuitGraceMs / 1000, (kQuitGraceMs % 1000) * 1000000
    };
    while (::nanosleep(&grace, &grace) != 0 && errno == EINTR) {
    }
    ::_exit(128 + static_cast<int>(g_lastSignal));
}

std::optional<QProcessEnvironment>& rememberedEnvironment()
{
    static std::optional<QProcessEnvironment> remembered;
    return remembered;
}

bool isSetAndNotEmpty(const char* name)
{
    return !qEnvironmentVariableIsEmpty(name);
}

// The home folder of the user running the process, from the password database.
QByteArray passwordHome()
{
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    QByteArray buffer(size > 0 ? size : 16384, '\0');
    struct passwd entry {};
    struct passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), static_cast<size_t>(buffer.size()),
                     &found) != 0 ||
        !found || !found->pw_dir)
        return {};
    return QByteArray(found->pw_dir);
}

} // namespace

void rememberStartEnvironment()
{
    if (!rememberedEnvironment())
        rememberedEnvironment() = QProcessEnvironment::systemEnvironment();
}

QProcessEnvironment startEnvironment()
{
    return rememberedEnvironment().value_or(QProcessEnvironment::systemEnvironment());
}

bool hasGraphicalSession(int argc, char** argv)
{
    if (isSetAndNotEmpty("DISPLAY") || isSetAndNotEmpty("WAYLAND_DISPLAY") ||
        isSetAndNotEmpty("QT_QPA_PLATFORM"))
        return true;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            return true;
    }
    return false;
}

Result<> settleEnvironment()
{
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_RUNTIME_DIR", "XDG_DATA_HOME",
                             "XDG_CACHE_HOME", "XDG_STATE_HOME"}) {
        const QByteArray value = qgetenv(name);
        if (!value.startsWith('/') || !value.isValidUtf8())
            qunsetenv(name);
    }
    QByteArray home = qgetenv("HOME");
    if (!home.startsWith('/')) {
        home = passwordHome();
        if (!home.startsWith('/'))
            return Failure{QStringLiteral("no home folder is known for this user (HOME is not an "
                                          "absolute path and the password database has none)")};
        qputenv("HOME", home);
    }
    // Qt names files in UTF-8: a home folder whose name is not would be read and written
    // under some other name, so nothing could be found there and nothing saved.
    if (!home.isValidUtf8())
        return Failure{QStringLiteral("the home folder's name is not valid UTF-8 (HOME=%1)")
                           .arg(QString::fromUtf8(home))};
    return {};
}

void ignoreBrokenPipes()
{
    std::signal(SIGPIPE, SIG_IGN);
}

void catchTerminationSignals()
{
    if (g_signalPipe[0] >= 0 || ::pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    ::sem_init(&g_signalled, 0, 0);
    try {
        std::thread(watchdog).detach();
    } catch (const std::system_error&) {
        // Without it a stuck main thread keeps the process; the normal quit still works.
    }
    struct sigaction action {};
    action.sa_handler = rememberSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signal, &action, nullptr);
}

void watchTerminationSignals(QObject* context, std::function<void()> onSignal)
{
    if (g_signalPipe[0] < 0)
        return;
    auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, context);
    QObject::connect(notifier, &QSocketNotifier::activated, context, [onSignal] {
        char bytes[16];
        while (::read(g_signalPipe[0], bytes, sizeof bytes) > 0) {
        }
        onSignal();
    });
}

} // namespace marten::process
