#pragma once
// A value as the options table and the registry stand-in keep it: a whole
// number, a real number, a text, or bytes. Both stores hand values to each
// other (the options are read from the registry of an older version), so they
// share this one type.

#include <QByteArray>
#include <QString>
#include <optional>
#include <variant>

namespace quillbay {

class StoredValue
{
public:
    enum class Kind { Text, Whole, Real, Bytes }; // in the order of the alternatives below

    StoredValue() = default; // an empty text
    static StoredValue ofWhole(qint64 number) { return StoredValue(number); }
    static StoredValue ofReal(double number) { return StoredValue(number); }
    static StoredValue ofText(const QString &text) { return StoredValue(text); }
    static StoredValue ofBytes(const QByteArray &bytes) { return StoredValue(bytes); }
    // The value of a text read from a file: a number when the text reads as
    // one (whole when it has no fractional part and fits), otherwise the text.
    static StoredValue fromText(const QString &text);

    Kind kind() const { return Kind(m_value.index()); }
    // The value of its own kind; asking a value of another kind is a mistake,
    // logged, and answered with 0 or an empty text.
    qint64 whole() const;
    double real() const;
    const QString &text() const;
    const QByteArray &bytes() const;

    // The value as a number: numbers, and texts that read as a number.
    std::optional<double> number() const;
    bool isNumeric() const { return number().has_value(); }
    // The value as text: numbers in decimal; bytes (which only the registry
    // gives) as the UTF-16 little-endian text they hold.
    QString toText() const;

    bool operator==(const StoredValue &other) const = default;

private:
    template<typename T>
    explicit StoredValue(T value) : m_value(std::move(value))
    {
    }

    std::variant<QString, qint64, double, QByteArray> m_value;
};

} // namespace quillbay
