#pragma once

namespace marten {

// Whether the main application may read the keyboard and type text.
// Implementations never prompt and are cheap enough to call once a second.
// Safe to call from any thread.
class AccessibilityProbe {
public:
    virtual ~AccessibilityProbe() = default;
    virtual bool isTrusted() const = 0;
};

} // namespace marten
