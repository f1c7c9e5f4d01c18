#pragma once

#include "core/platform/Console.h"

#include <cstdio>

namespace marten {

// Writes each line to a stdio stream and flushes it at once, so that a pipe or a log
// collector sees it immediately and a killed program loses nothing. Thread-safe.
class StdoutConsole final : public Console {
public:
    explicit StdoutConsole(std::FILE* stream = stdout) : m_stream(stream) {}
    void line(const QString& text) override;

private:
    std::FILE* m_stream;
};

} // namespace marten
