#pragma once

#include <QString>

#include <utility>

namespace marten {

// Why an operation failed: one line for the console, and the errno behind it (0 when the
// reason is the program's own, such as "not a regular file").
struct Failure {
    QString text;
    int code = 0;
};

// What a file or settings operation gave: success (with a value, for Result<T>) or a Failure.
// A Failure converts to a Result of any type, so a function returns one as it is.
template <typename T = void> class [[nodiscard]] Result final {
public:
    Result(T value) : m_value(std::move(value)) {}
    Result(Failure failure) : m_failure(std::move(failure)), m_failed(true) {}

    bool ok() const { return !m_failed; }
    const QString& error() const { return m_failure.text; }
    int code() const { return m_failure.code; }

    // Why it failed, to hand on as a Result of another type.
    const Failure& failure() const { return m_failure; }

    const T& value() const& { return m_value; }
    T&& value() && { return std::move(m_value); }
    T valueOr(T fallback) const& { return m_failed ? std::move(fallback) : m_value; }
    T valueOr(T fallback) && { return m_failed ? std::move(fallback) : std::move(m_value); }

private:
    T m_value{};
    Failure m_failure;
    bool m_failed = false;
};

template <> class [[nodiscard]] Result<void> final {
public:
    Result() = default;
    Result(Failure failure) : m_failure(std::move(failure)), m_failed(true) {}

    bool ok() const { return !m_failed; }
    const QString& error() const { return m_failure.text; }
    int code() const { return m_failure.code; }
    const Failure& failure() const { return m_failure; }

private:
    Failure m_failure;
    bool m_failed = false;
};

} // namespace marten
