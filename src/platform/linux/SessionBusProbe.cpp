#include "platform/linux/SessionBusProbe.h"

#include <QByteArray>
#include <QObject>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include <dbus/dbus.h>
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

namespace marten::process {
namespace {

struct Probe {
    std::mutex mutex;
    std::condition_variable done;
    bool sessionReturned = false;
    bool accessibilityReturned = false;
    BusProbe found;
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

// The accessibility bus's address, as the session bus names it; empty when it names none.
QByteArray accessibilityBusAddress(DBusConnection* session)
{
    DBusMessage* call =
        dbus_message_new_method_call("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress");
    if (!call)
        return {};
    // Only a running accessibility bus counts: a screen reader starts it, and starting it from
    // here would leave a daemon behind for nobody.
    dbus_message_set_auto_start(call, FALSE);
    DBusError error;
    dbus_error_init(&error);
    DBusMessage* reply =
        dbus_connection_send_with_reply_and_block(session, call, DBUS_TIMEOUT_INFINITE, &error);
    dbus_message_unref(call);
    QByteArray address;
    const char* text = nullptr;
    if (reply && dbus_message_get_args(reply, &error, DBUS_TYPE_STRING, &text, DBUS_TYPE_INVALID))
        address = text;
    if (reply)
        dbus_message_unref(reply);
    dbus_error_free(&error);
    return address;
}

// One of the accessibility status flags on the session bus ("IsEnabled",
// "ScreenReaderEnabled"): whether a screen reader or the desktop asked for accessibility.
bool statusFlag(DBusConnection* session, const char* name)
{
    DBusMessage* call = dbus_message_new_method_call("org.a11y.Bus", "/org/a11y/bus",
                                                     "org.freedesktop.DBus.Properties", "Get");
    const char* interface = "org.a11y.Status";
    if (!call || !dbus_message_append_args(call, DBUS_TYPE_STRING, &interface, DBUS_TYPE_STRING,
                                           &name, DBUS_TYPE_INVALID)) {
        if (call)
            dbus_message_unref(call);
        return false;
    }
    DBusMessage* reply =
        dbus_connection_send_with_reply_and_block(session, call, DBUS_TIMEOUT_INFINITE, nullptr);
    dbus_message_unref(call);
    dbus_bool_t flag = FALSE;
    DBusMessageIter args, value;
    if (reply && dbus_message_iter_init(reply, &args) &&
        dbus_message_iter_get_arg_type(&args) == DBUS_TYPE_VARIANT) {
        dbus_message_iter_recurse(&args, &value);
        if (dbus_message_iter_get_arg_type(&value) == DBUS_TYPE_BOOLEAN)
            dbus_message_iter_get_basic(&value, &flag);
    }
    if (reply)
        dbus_message_unref(reply);
    return flag;
}

// Opens a private connection to `address` and says Hello; the connection, or null.
DBusConnection* openAndRegister(const QByteArray& address)
{
    DBusError error;
    dbus_error_init(&error);
    DBusConnection* connection = dbus_connection_open_private(address.constData(), &error);
    dbus_error_free(&error);
    if (!connection)
        return nullptr;
    dbus_connection_set_exit_on_disconnect(connection, FALSE);
    // The Hello is sent by hand: dbus_bus_register() holds a lock of libdbus's own while it
    // waits, and every other connection in the process, Qt's included, would then wait for
    // this one on a bus that does not answer.
    DBusMessage* hello = dbus_message_new_method_call(
        "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "Hello");
    DBusMessage* reply = hello ? dbus_connection_send_with_reply_and_block(
                                     connection, hello, DBUS_TIMEOUT_INFINITE, nullptr)
                               : nullptr;
    if (hello)
        dbus_message_unref(hello);
    if (reply) {
        dbus_message_unref(reply);
        return connection;
    }
    dbus_connection_close(connection);
    dbus_connection_unref(connection);
    return nullptr;
}

void leave(DBusConnection* connection)
{
    if (!connection)
        return;
    dbus_connection_close(connection);
    dbus_connection_unref(connection);
}

void probe(const QByteArray& sessionAddress, const std::shared_ptr<Probe>& state)
{
    const auto report = [&state](auto&& change) {
        {
            const std::lock_guard<std::mutex> lock(state->mutex);
            change(state->found);
        }
        state->done.notify_all();
    };
    DBusConnection* session = openAndRegister(sessionAddress);
    report([&](BusProbe&) { state->sessionReturned = true; });
    const QByteArray address = session ? accessibilityBusAddress(session) : QByteArray();
    DBusConnection* accessibility = address.isEmpty() ? nullptr : openAndRegister(address);
    const bool wanted = accessibility && (statusFlag(session, "ScreenReaderEnabled") ||
                                          statusFlag(session, "IsEnabled"));
    leave(accessibility);
    leave(session);
    report([&](BusProbe& found) {
        state->accessibilityReturned = true;
        found.accessibility =
            accessibility ? BusProbe::Accessibility::Answered : BusProbe::Accessibility::Absent;
        found.accessibilityAddress = accessibility ? address : QByteArray();
        found.accessibilityWanted = wanted;
    });
}

} // namespace

BusProbe probeBuses(std::chrono::milliseconds patience)
{
    auto state = std::make_shared<Probe>();
    const auto deadline = std::chrono::steady_clock::now() + patience;
    try {
        // Detached: a silent bus may hold it for good, and the process must not wait for it.
        std::thread([address = sessionBusAddress(), state] { probe(address, state); }).detach();
    } catch (const std::system_error&) {
        // No thread to spare: connect later as if the buses were fine.
        return BusProbe{true, BusProbe::Accessibility::Absent, {}};
    }
    std::unique_lock<std::mutex> lock(state->mutex);
    BusProbe result;
    result.sessionAnswered =
        state->done.wait_until(lock, deadline, [&state] { return state->sessionReturned; });
    if (!result.sessionAnswered)
        return result;
    if (!state->done.wait_until(lock, deadline,
                                [&state] { return state->accessibilityReturned; })) {
        result.accessibility = BusProbe::Accessibility::Silent;
        return result;
    }
    result.accessibility = state->found.accessibility;
    result.accessibilityAddress = state->found.accessibilityAddress;
    result.accessibilityWanted = state->found.accessibilityWanted;
    return result;
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

void useAccessibilityBus(const QByteArray& address)
{
    qputenv("AT_SPI_BUS_ADDRESS", address);
}

void startAccessibilityBridge()
{
    const QByteArray address = qgetenv("AT_SPI_BUS_ADDRESS");
    if (address.isEmpty() || address == QByteArrayLiteral("disabled:"))
        return;
    // Looked up by name, so a Qt without this bridge simply has nothing to start. The lookup
    // creates the bridge if nothing has used it yet; a running one ignores the second start.
    using Instance = QObject* (*)();
    auto instance =
        reinterpret_cast<Instance>(::dlsym(RTLD_DEFAULT, "_ZN20QSpiAccessibleBridge8instanceEv"));
    QObject* bridge = instance ? instance() : nullptr;
    if (bridge && bridge->inherits("QSpiAccessibleBridge"))
        QMetaObject::invokeMethod(bridge, "enabledChanged", Q_ARG(bool, true));
}

void forgetAccessibilityBus()
{
    // Qt connects to this address as it is given, without asking the session bus; one of no
    // known kind fails at once, and the bridge stays quiet.
    qputenv("AT_SPI_BUS_ADDRESS", QByteArrayLiteral("disabled:"));
    qunsetenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON");
    qputenv("NO_AT_BRIDGE", QByteArrayLiteral("1"));
}

} // namespace marten::process
