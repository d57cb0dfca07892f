#pragma once

#include <QString>

#include <optional>
#include <utility>
#include <variant>

namespace ravelin {

// What went wrong in an operation: the French message a screen may show, plus the database's own
// text, the statement and the function, so that a developer can find the failing step.
struct Error
{
    QString message;    // French, for the user
    QString detail;     // the driver's or server's text
    QString statement;  // the SQL that failed, when there was one
    QString where;      // function name
    int nativeCode = 0; // server error number (1062 duplicate key, 1205 lock wait...)

    QString fullText() const;
};

// A value or an Error. Operations return it; screens decide what to show.
template <typename T> class Result
{
public:
    Result(T value) : m_value(std::move(value)) {}
    Result(Error error) : m_error(std::move(error)) {}

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    const T &value() const { return *m_value; }
    T &value() { return *m_value; }
    const T &operator*() const { return *m_value; }
    const T *operator->() const { return &*m_value; }
    T &operator*() { return *m_value; }
    T *operator->() { return &*m_value; }
    const Error &error() const { return m_error; }

private:
    std::optional<T> m_value;
    Error m_error;
};

template <> class Result<void>
{
public:
    Result() = default;
    Result(Error error) : m_ok(false), m_error(std::move(error)) {}

    bool ok() const { return m_ok; }
    explicit operator bool() const { return m_ok; }
    const Error &error() const { return m_error; }

private:
    bool m_ok = true;
    Error m_error;
};

using Status = Result<void>;

} // namespace ravelin
