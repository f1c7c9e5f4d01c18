#include "platform/linux/SessionBusProbe.h"

#include <QByteArray>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include <dbus/dbus.h>
#include <sys/stat.h>
#include <unistd.h>

namespace marten::process {
namespace {

struct Probe {
    std::mutex mutex;
    std::condition_variable done;
    bool returned = false;
};

// Where libdbus looks for the session bus: the variable, else the user's bus socket in the
// runtime folder, else a bus started for the display.
QByteArray sessionBusAddress()
{
    const QByteArray fromEnvironment = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty()) {
        const QByteArray socket = runtime + "/bus";
        struct stat info {};
        if (::stat(socket.constData(), &info) == 0 && S_ISSOCK(info.st_mode) &&
            info.st_uid == ::getuid()) {
            char* escaped = dbus_address_escape_value(socket.constData());
            if (escaped) {
                QByteArray address = QByteArrayLiteral("unix:path=") + escaped;
                dbus_free(escaped);
                return address;
            }
        }
    }
    return QByteArrayLiteral("autolaunch:");
}

void connectAndLeave(const QByteArray& address, const std::shared_ptr<Probe>& probe)
{
    DBusError error;
    dbus_error_init(&error);
    // Opened and registered by hand: dbus_bus_get() holds a lock of libdbus's own while it
    // waits, and Qt's connection would then wait for this one.
    if (DBusConnection* connection = dbus_connection_open_private(address.constData(), &error)) {
        dbus_connection_set_exit_on_disconnect(connection, FALSE);
        dbus_bus_register(connection, &error);
        dbus_connection_close(connection);
        dbus_connection_unref(connection);
    }
    dbus_error_free(&error);
    {
        const std::lock_guard<std::mutex> lock(probe->mutex);
        probe->returned = true;
    }
    probe->done.notify_all();
}

} // namespace

bool sessionBusAnswersWithin(std::chrono::milliseconds patience)
{
    auto probe = std::make_shared<Probe>();
    try {
        // Detached: a silent bus may hold it for good, and the process must not wait for it.
        std::thread([address = sessionBusAddress(), probe] {
            connectAndLeave(address, probe);
        }).detach();
    } catch (const std::system_error&) {
        return true; // no thread to spare: connect later as if the bus were fine
    }
    std::unique_lock<std::mutex> lock(probe->mutex);
    return probe->done.wait_for(lock, patience, [&probe] { return probe->returned; });
}

void forgetSessionBus()
{
    // An address of no known kind: the D-Bus libraries refuse it without any I/O. Unset, they
    // would look for $XDG_RUNTIME_DIR/bus, the same silent bus, or start one for the display.
    qputenv("DBUS_SESSION_BUS_ADDRESS", QByteArrayLiteral("disabled:"));
    // The accessibility bus is found through the session bus; its address taken from here
    // would reach a bus nobody can announce us on.
    qunsetenv("AT_SPI_BUS_ADDRESS");
    qunsetenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON");
    // GTK, if Qt's GTK theme loads it, has an accessibility bridge of its own.
    qputenv("NO_AT_BRIDGE", QByteArrayLiteral("1"));
}

} // namespace marten::process
