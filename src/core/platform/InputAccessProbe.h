#pragma once

#include <QStringList>

namespace marten {

// Whether this user's programs may read the keyboard and type text (a readable keyboard
// device and a writable uinput device). Implementations never open a device or prompt, and
// are cheap enough to call once a second. Safe to call from any thread.
class InputAccessProbe {
public:
    virtual ~InputAccessProbe() = default;
    virtual bool hasInputAccess() const = 0;
    // The keyboard devices this user may read (paths), in the order found; none where the
    // probe does not know them.
    virtual QStringList readableKeyboards() const { return {}; }
};

} // namespace marten
