#pragma once

#include "core/platform/PushToTalkKeys.h"

#include <QByteArray>

#include <memory>
#include <vector>

class QSocketNotifier;

namespace marten {

// The push-to-talk key (Right Meta, KEY_RIGHTMETA) read from evdev nodes. Each node is opened
// read-only and non-blocking and never grabbed, so every other program still gets every key;
// its input_event records are read when a QSocketNotifier on the main thread says so. Only
// EV_KEY records for that one key code are looked at: value 1 is a press, 0 a release, and
// auto-repeat (2) and everything else are skipped. Nothing read is kept or passed on.
class EvdevPushToTalkKeys final : public PushToTalkKeys {
    Q_OBJECT
public:
    explicit EvdevPushToTalkKeys(QObject* parent = nullptr);
    ~EvdevPushToTalkKeys() override;

    int start(const QStringList& devicePaths) override;
    void stop() override;
    int openCount() const { return static_cast<int>(m_devices.size()); }

private:
    struct Device {
        QString path;
        int fd = -1;
        QSocketNotifier* notifier = nullptr; // a child of this object
        QByteArray partial;                  // the start of a record whose rest has not arrived yet
        bool down = false;
    };

    void open(const QString& path);
    static bool isGone(const Device& device);
    // Reads what is waiting; false once the device is gone or at its end.
    bool readFrom(Device& device);
    void setDown(Device& device, bool down);
    void close(Device* device, bool announceRelease);
    bool anyDown() const;

    std::vector<std::unique_ptr<Device>> m_devices;
};

} // namespace marten
