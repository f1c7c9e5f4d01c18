#pragma once

#include <QString>

namespace marten {

// One-line diagnostics. Each line is complete and visible as soon as it is written.
class Console {
public:
    virtual ~Console() = default;
    virtual void line(const QString& text) = 0;
};

// Platform's console where none is given: drops every line.
class NoConsole final : public Console {
public:
    void line(const QString&) override {}
};

} // namespace marten
