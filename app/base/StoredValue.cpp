#include "base/StoredValue.h"

#include "base/Assert.h"
#include "base/Numbers.h"

#include <QLocale>
#include <cmath>

namespace quillbay {

StoredValue StoredValue::fromText(const QString &text)
{
    const std::optional<double> number = parseNumber(text);
    if (!number)
        return ofText(text);
    // Whole numbers beyond the range of qint64 stay floating-point numbers.
    constexpr double limit = 9.2e18;
    if (std::trunc(*number) == *number && std::fabs(*number) < limit)
        return ofWhole(static_cast<qint64>(*number));
    return ofReal(*number);
}

qint64 StoredValue::whole() const
{
    QB_ASSERT(kind() == Kind::Whole, return 0);
    return std::get<qint64>(m_value);
}

double StoredValue::real() const
{
    QB_ASSERT(kind() == Kind::Real, return 0);
    return std::get<double>(m_value);
}

const QString &StoredValue::text() const
{
    static const QString none;
    QB_ASSERT(kind() == Kind::Text, return none);
    return std::get<QString>(m_value);
}

const QByteArray &StoredValue::bytes() const
{
    static const QByteArray none;
    QB_ASSERT(kind() == Kind::Bytes, return none);
    return std::get<QByteArray>(m_value);
}

std::optional<double> StoredValue::number() const
{
    switch (kind()) {
    case Kind::Whole:
        return static_cast<double>(whole());
    case Kind::Real:
        return real();
    case Kind::Text:
        return parseNumber(text());
    case Kind::Bytes:
        break;
    }
    return std::nullopt;
}

QString StoredValue::toText() const
{
    switch (kind()) {
    case Kind::Whole:
        return QString::number(whole());
    case Kind::Real:
        return QString::number(real(), 'g', QLocale::FloatingPointShortest);
    case Kind::Text:
        return text();
    case Kind::Bytes:
        break;
    }
    const QByteArray &b = bytes();
    QString result;
    for (qsizetype i = 0; i + 1 < b.size(); i += 2)
        result.append(QChar(char16_t(uchar(b[i]) | (uchar(b[i + 1]) << 8))));
    return result;
}

} // namespace quillbay
