#pragma once

#include <QString>

namespace marten {

// One-line diagnostics. Each line is complete and visible as soon as it is written.
class Console {
public:
    virtual ~Console() = default;
    virtual void line(const QString& text) = 0;
};

} // namespace marten
