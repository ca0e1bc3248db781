#include "settings/OptionsTable.h"

#include "settings/XmlTools.h"

#include <QLocale>
#include <cmath>

namespace quillbay {

OptionValue OptionValue::whole(qint64 number)
{
    OptionValue v;
    v.m_kind = Kind::Whole;
    v.m_whole = number;
    return v;
}

OptionValue OptionValue::real(double number)
{
    OptionValue v;
    v.m_kind = Kind::Real;
    v.m_real = number;
    return v;
}

OptionValue OptionValue::text(const QString &text)
{
    OptionValue v;
    v.m_kind = Kind::Text;
    v.m_text = text;
    return v;
}

OptionValue OptionValue::bytes(const QByteArray &bytes)
{
    OptionValue v;
    v.m_kind = Kind::Bytes;
    v.m_bytes = bytes;
    return v;
}

OptionValue OptionValue::fromFileText(const QString &text)
{
    const std::optional<double> number = parseNumber(text);
    if (!number)
        return OptionValue::text(text);
    // Whole numbers beyond the range of qint64 stay floating-point numbers.
    constexpr double limit = 9.2e18;
    if (std::trunc(*number) == *number && std::fabs(*number) < limit)
        return OptionValue::whole(static_cast<qint64>(*number));
    return OptionValue::real(*number);
}

std::optional<double> OptionValue::number() const
{
    switch (m_kind) {
    case Kind::Whole:
        return static_cast<double>(m_whole);
    case Kind::Real:
        return m_real;
    case Kind::Text:
        return parseNumber(m_text);
    case Kind::Bytes:
        break;
    }
    return std::nullopt;
}

QString OptionValue::toText() const
{
    switch (m_kind) {
    case Kind::Whole:
        return QString::number(m_whole);
    case Kind::Real:
        return QString::number(m_real, 'g', QLocale::FloatingPointShortest);
    case Kind::Text:
        return m_text;
    case Kind::Bytes:
        break;
    }
    QString text;
    for (qsizetype i = 0; i + 1 < m_bytes.size(); i += 2)
        text.append(QChar(char16_t(uchar(m_bytes[i]) | (uchar(m_bytes[i + 1]) << 8))));
    return text;
}

qsizetype OptionsTable::indexOf(const QString &key) const
{
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].key == key)
            return i;
    }
    return -1;
}

void OptionsTable::Set(const QString &key, const OptionValue &value)
{
    const qsizetype i = indexOf(key);
    if (i >= 0)
        m_entries[i].value = value;
    else
        m_entries.append(Entry{key, value});
}

std::optional<OptionValue> OptionsTable::Get(const QString &key) const
{
    const qsizetype i = indexOf(key);
    if (i < 0)
        return std::nullopt;
    return m_entries[i].value;
}

QString OptionsTable::Text(const QString &key) const
{
    const auto value = Get(key);
    return value ? value->toText() : QString();
}

} // namespace quillbay
