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

    // Reads the key from these devices from now on: opens the ones not open yet and closes
    // the ones no longer listed. A device that cannot be opened is left out without a word.
    // Returns how many devices are open.
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
