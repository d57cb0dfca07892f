#pragma once

#include <QString>

#include <optional>
#include "sourcelocation.h"
#include <utility>

namespace ravelin {

// What an error means to the screen that receives it. Screens choose what to show and what to do
// next by the kind, never by looking at which fields happen to be filled.
enum class ErrorKind {
    // The server or the connection failed (or the disk, the driver): the French message is shown
    // with the server's own text, which the person who looks after the installation needs.
    DatabaseFailure,
    // A rule of the program said no (a required field, a number already used, a finished lot): the
    // French message says it all.
    Refusal,
    // Another workstation changed the record since this one read it; nothing was written.
    ChangedElsewhere,
    // The record is not there any more (another workstation deleted it), or never was.
    NotFound,
};

// "createLot", "Rights::load": the function of a source location without its namespace, return
// type and parameters; a lambda gives the function it was written in.
QString functionName(const SourceLocation &location);

// What went wrong in an operation: the French message a screen may show, plus the database's own
// text, the statement and the function, so that a developer can find the failing step.
struct Error
{
    QString message;    // French, for the user
    QString detail;     // the driver's or server's text
    QString statement;  // the SQL that failed, when there was one
    QString where;      // function name, from the source location of the failing call
    int nativeCode = 0; // server error number (1062 duplicate key, 1205 lock wait...)
    ErrorKind kind = ErrorKind::DatabaseFailure;
    QString constraint; // the index or key a duplicate (1062) or a broken link (1451, 1452) names

    // The message with the server's text below it.
    QString fullText() const;
    bool is(ErrorKind k) const { return kind == k; }

    static Error refusal(const QString &message, SourceLocation location = SourceLocation::current());
    static Error notFound(const QString &message, SourceLocation location = SourceLocation::current());
    static Error changedElsewhere(const QString &message, SourceLocation location = SourceLocation::current());
    // A failure that did not come from the server (a file that cannot be written, a missing
    // driver); `detail` is the system's text.
    static Error failure(const QString &message, const QString &detail,
                         SourceLocation location = SourceLocation::current());
};

// A value or an Error. Operations return it; screens decide what to show. Dropping one unread
// loses an error, hence [[nodiscard]]: where ignoring is right, say why with (void) and a comment.
template <typename T> class [[nodiscard]] Result
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

template <> class [[nodiscard]] Result<void>
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
