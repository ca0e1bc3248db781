#pragma once
// The one way an operation reports failure: it returns a Result, which holds
// either its value or an Error. Nothing in the program throws; a failure
// travels back as a value until someone shows it or writes it into a report.
//
//     Result<Report> loaded = loadReport(path);
//     if (!loaded)
//         return loaded.error();          // hand it on
//     use(loaded.value());
//
// Result<void> is the same without a value.

#include "base/Assert.h"

#include <QString>
#include <utility>

namespace quillbay {

struct Error {
    // The system's error number (errno) when the failure came from a system call.
    int errorNumber = 0;
    // The string-table number of message when the message is one of the table's.
    int textId = 0;
    // What went wrong, for the user or the report: never empty in a failure.
    QString message;

    static Error withMessage(QString message) { return Error{0, 0, std::move(message)}; }
    // An error of the system: the number and its description.
    static Error fromErrno(int errorNumber);
    // A message of the string table, already loaded in the user's language.
    static Error fromText(int textId, QString message) { return Error{0, textId, std::move(message)}; }
    // The same error, its message preceded by what it concerns ("path: message").
    Error about(const QString &subject) const
    {
        return Error{errorNumber, textId, subject + QStringLiteral(": ") + message};
    }
};

template<typename T>
class [[nodiscard]] Result
{
public:
    Result(T value) : m_value(std::move(value)), m_ok(true) {}
    Result(Error error) : m_error(std::move(error)) {}

    bool ok() const { return m_ok; }
    explicit operator bool() const { return m_ok; }

    // The value of a result that is ok. Asking a failed result for its value
    // is a mistake of the caller: it is logged, and T's default is given.
    const T &value() const &
    {
        QB_ASSERT(m_ok, return m_value);
        return m_value;
    }
    T &value() &
    {
        QB_ASSERT(m_ok, return m_value);
        return m_value;
    }
    T &&value() &&
    {
        QB_ASSERT(m_ok, return std::move(m_value));
        return std::move(m_value);
    }
    const T *operator->() const { return &value(); }
    T *operator->() { return &value(); }
    const T &operator*() const & { return value(); }
    T &operator*() & { return value(); }

    // The value, or fallback when the result failed.
    T valueOr(T fallback) const { return m_ok ? m_value : std::move(fallback); }

    // The error of a failed result; an empty Error for one that is ok.
    const Error &error() const { return m_error; }

private:
    T m_value{};
    Error m_error;
    bool m_ok = false;
};

template<>
class [[nodiscard]] Result<void>
{
public:
    Result() = default;
    Result(Error error) : m_error(std::move(error)), m_ok(false) {}

    bool ok() const { return m_ok; }
    explicit operator bool() const { return m_ok; }
    const Error &error() const { return m_error; }

private:
    Error m_error;
    bool m_ok = true;
};

} // namespace quillbay
