#pragma once
// The application options in memory: values under text keys, compared
// exactly (letter case counts), kept in the order in which the keys first
// arrived.

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace quillbay {

class OptionValue
{
public:
    enum class Kind { Whole, Real, Text, Bytes };

    OptionValue() = default;
    static OptionValue whole(qint64 number);
    static OptionValue real(double number);
    static OptionValue text(const QString &text);
    static OptionValue bytes(const QByteArray &bytes);
    // The value of an options file's text: a number when the text reads as
    // one (whole when it has no fractional part), otherwise the text.
    static OptionValue fromFileText(const QString &text);

    Kind kind() const { return m_kind; }
    // The value as a number: numbers, and texts that read as a number.
    std::optional<double> number() const;
    bool isNumeric() const { return number().has_value(); }
    // The value as the options file writes it: numbers as decimal text; bytes
    // (which only the registry gives) as the UTF-16 little-endian text they hold.
    QString toText() const;

    bool operator==(const OptionValue &other) const = default;

private:
    Kind m_kind = Kind::Text;
    qint64 m_whole = 0;
    double m_real = 0;
    QString m_text;
    QByteArray m_bytes;
};

class OptionsTable
{
public:
    struct Entry {
        QString key;
        OptionValue value;
    };

    // Replaces the value of an existing key in its place, or appends the key.
    void Set(const QString &key, const OptionValue &value);
    bool Contains(const QString &key) const { return indexOf(key) >= 0; }
    std::optional<OptionValue> Get(const QString &key) const;
    // The value's text; empty when the key is missing.
    QString Text(const QString &key) const;
    const QList<Entry> &entries() const { return m_entries; }
    void Clear() { m_entries.clear(); }

private:
    qsizetype indexOf(const QString &key) const;

    QList<Entry> m_entries;
};

} // namespace quillbay
