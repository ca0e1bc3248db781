#include "metadata/Exif.h"

#include "metadata/ByteStreamReader.h"
#include "metadata/ExifParser.h"
#include "metadata/NumberText.h"

namespace quillbay {

Exif::Exif() : m_decimalSeparator(userDecimalSeparator()) {}

bool Exif::load(const QString &path)
{
    m_data = ExifData{};
    ByteStreamReader stream;
    if (!stream.setReadMode(true) || !stream.open(path))
        return false;
    const bool recognised = parseImage(stream, m_data);
    stream.close();
    return recognised;
}

bool Exif::loadBytes(const QByteArray &bytes)
{
    m_data = ExifData{};
    ByteStreamReader stream;
    if (!stream.openBytes(bytes))
        return false;
    return parseImage(stream, m_data);
}

QString Exif::dateText(int mode) const
{
    if (!m_data.dateKnown)
        return {};
    if (mode == 0)
        return m_data.dateText;
    if (mode == 1) {
        QString text = m_data.dateText;
        text.remove(QLatin1Char(':'));
        text.replace(QLatin1Char(' '), QLatin1Char('T'));
        return text;
    }
    const QDate d = m_data.dateValue.date();
    const QTime t = m_data.dateValue.time();
    const auto two = [](int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); };
    return QString::number(d.year()) + u'-' + two(d.month()) + u'-' + two(d.day()) + u' ' + two(t.hour()) + u'-'
        + two(t.minute()) + u'-' + two(t.second());
}

QString Exif::exposureTimeText(int mode) const
{
    if (!m_data.exposureKnown)
        return {};
    if (mode == 10)
        return significantDigitsText(1.0 / m_data.exposureSeconds, 2, m_decimalSeparator);
    if (mode != 0 && m_data.exposureIsFraction)
        return QString::number(m_data.exposureNumerator) + m_fractionSeparator
            + QString::number(m_data.exposureDenominator);
    return significantDigitsText(m_data.exposureSeconds, 3, m_decimalSeparator);
}

QString Exif::fNumberText() const
{
    if (!m_data.fNumberKnown)
        return {};
    if (m_data.fNumberDerived)
        return significantDigitsText(m_data.fNumber, 2, m_decimalSeparator);
    return plainDecimalText(m_data.fNumber, m_decimalSeparator);
}

QString Exif::flashText() const
{
    if (!m_data.flashKnown)
        return {};
    return m_data.flashFired ? QStringLiteral("Flash") : QStringLiteral("No Flash");
}

} // namespace quillbay
