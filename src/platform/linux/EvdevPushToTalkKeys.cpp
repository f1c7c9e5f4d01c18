#include "platform/linux/EvdevPushToTalkKeys.h"

#include <QFile>
#include <QSocketNotifier>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <linux/input.h>
#include <sys/stat.h>
#include <unistd.h>

namespace marten {
namespace {
// Records taken per wake-up; a flood of them is read in turns with the rest of the loop.
constexpr std::size_t kRecordsPerRead = 64;
constexpr int kPress = 1;
constexpr int kRelease = 0;
} // namespace

EvdevPushToTalkKeys::EvdevPushToTalkKeys(QObject* parent) : PushToTalkKeys(parent) {}

EvdevPushToTalkKeys::~EvdevPushToTalkKeys()
{
    stop();
}

int EvdevPushToTalkKeys::start(const QStringList& devicePaths)
{
    // Copies of the pointers: close() takes the device out of m_devices. A keyboard missing
    // from the list is closed only when its node is gone: the list leaves out a keyboard whose
    // capabilities could not be read this time (no descriptor to spare, say), and dropping it
    // would make the key deaf until the next rescan. An unplugged one also ends its reads.
    std::vector<Device*> gone;
    for (const auto& device : m_devices) {
        if (!devicePaths.contains(device->path) && isGone(*device))
            gone.push_back(device.get());
    }
    for (Device* device : gone)
        close(device, true);
    for (const QString& path : devicePaths) {
        if (openCount() >= maxDevices)
            break;
        const bool isOpen =
            std::any_of(m_devices.begin(), m_devices.end(),
                        [&path](const auto& device) { return device->path == path; });
        if (!isOpen)
            open(path);
    }
    return openCount();
}

bool EvdevPushToTalkKeys::isGone(const Device& device)
{
    struct stat node {};
    struct stat open {};
    if (::stat(QFile::encodeName(device.path).constData(), &node) != 0)
        return errno == ENOENT || errno == ENOTDIR;
    // Another node under the same name is another device.
    return ::fstat(device.fd, &open) == 0 &&
           (node.st_ino != open.st_ino || node.st_dev != open.st_dev);
}

void EvdevPushToTalkKeys::stop()
{
    while (!m_devices.empty())
        close(m_devices.back().get(), false);
}

void EvdevPushToTalkKeys::open(const QString& path)
{
    // No EVIOCGRAB: reading beside the desktop, never instead of it.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return; // not readable (any more): this keyboard is simply not listened to
    auto device = std::make_unique<Device>();
    device->path = path;
    device->fd = fd;
    device->notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    Device* raw = device.get();
    connect(device->notifier, &QSocketNotifier::activated, this, [this, raw] {
        if (!readFrom(*raw))
            close(raw, true);
    });
    m_devices.push_back(std::move(device));
}

bool EvdevPushToTalkKeys::readFrom(Device& device)
{
    constexpr std::size_t record = sizeof(input_event);
    std::array<char, kRecordsPerRead * record> buffer{};
    const auto kept = static_cast<std::size_t>(device.partial.size());
    std::memcpy(buffer.data(), device.partial.constData(), kept);
    ssize_t got = 0;
    do {
        got = ::read(device.fd, buffer.data() + kept, buffer.size() - kept);
    } while (got < 0 && errno == EINTR);
    if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
        return true;
    if (got <= 0)
        return false; // unplugged (ENODEV), or the end of a pipe standing in for a device

    const std::size_t have = kept + static_cast<std::size_t>(got);
    const std::size_t whole = have - have % record;
    for (std::size_t at = 0; at < whole; at += record) {
        input_event event{};
        std::memcpy(&event, buffer.data() + at, record);
        if (event.type != EV_KEY || event.code != KEY_RIGHTMETA)
            continue;
        if (event.value == kPress)
            setDown(device, true);
        else if (event.value == kRelease)
            setDown(device, false);
    }
    device.partial = QByteArray(buffer.data() + whole, static_cast<qsizetype>(have - whole));
    return true;
}

bool EvdevPushToTalkKeys::anyDown() const
{
    return std::any_of(m_devices.begin(), m_devices.end(),
                       [](const auto& device) { return device->down; });
}

void EvdevPushToTalkKeys::setDown(Device& device, bool down)
{
    if (device.down == down)
        return;
    const bool wasDown = anyDown();
    device.down = down;
    if (anyDown() == wasDown)
        return;
    if (down)
        emit pressed();
    else
        emit released();
}

void EvdevPushToTalkKeys::close(Device* device, bool announceRelease)
{
    // A keyboard that goes away while holding the key lets go of it.
    if (announceRelease)
        setDown(*device, false);
    // The notifier may be the one whose signal got us here: it goes once that has returned
    // (or with this object).
    device->notifier->setEnabled(false);
    device->notifier->deleteLater();
    ::close(device->fd);
    const auto it = std::find_if(m_devices.begin(), m_devices.end(),
                                 [device](const auto& open) { return open.get() == device; });
    m_devices.erase(it);
}

} // namespace marten
