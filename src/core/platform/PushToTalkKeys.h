#pragma once

#include <QObject>
#include <QStringList>

namespace marten {

// The push-to-talk key as read from keyboard devices, for as long as something wants it.
// Reads only; never keeps a key from reaching any other program, and looks at no other key.
// Main thread only.
class PushToTalkKeys : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Most devices read at once. A desk has a handful of keyboards (with the power and media
    // buttons that claim keys, rarely more than ten); anyone who may write /dev/uinput can make
    // a thousand, and a descriptor for each would leave the program none for its own files.
    static constexpr int maxDevices = 32;

    // Reads the key from these devices from now on: opens the ones not open yet, up to
    // maxDevices in the order listed, and closes the ones no longer listed whose node is gone.
    // A device that cannot be opened is left out without a word. Returns how many are open.
    virtual int start(const QStringList& devicePaths) = 0;
    // Closes every device; no signal follows.
    virtual void stop() = 0;

signals:
    // The key went down on the first device / came up on the last device that held it.
    // Auto-repeat emits nothing.
    void pressed();
    void released();
};

} // namespace marten
