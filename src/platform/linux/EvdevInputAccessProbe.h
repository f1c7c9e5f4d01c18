#pragma once

#include "core/platform/InputAccessProbe.h"

#include <QString>

namespace marten {

// Input access on Linux: the main application needs to read a keyboard (an evdev node whose
// key capabilities include KEY_A or KEY_RIGHTMETA) and to write /dev/uinput. Checked with
// faccessat(AT_EACCESS) only: no device is opened, nothing prompts.
class EvdevInputAccessProbe final : public InputAccessProbe {
public:
    // The roots are "/" in production; tests point them at fake trees.
    explicit EvdevInputAccessProbe(QString sysRoot = QStringLiteral("/"),
                                   QString devRoot = QStringLiteral("/"));

    bool hasInputAccess() const override;
    // The event nodes of the keyboards counted below, under the device root; the first
    // PushToTalkKeys::maxDevices of them, in the order of their names.
    QStringList readableKeyboards() const override;
    bool canReadKeyboard() const;
    bool canWriteUinput() const;

    // Whether a sysfs "capabilities/key" bitmap (hex words, most significant first) has
    // the key with code `code`.
    static bool hasKeyBit(const QByteArray& bitmap, int code);

private:
    QString m_sys;
    QString m_dev;
};

} // namespace marten
