#include "metadata/NumberText.h"

#include <QLocale>
#include <cmath>

namespace quillbay {

QString userDecimalSeparator()
{
    // Qt's system locale follows LC_ALL, then LC_NUMERIC, then LANG for
    // numbers, as the C library does, and knows the conventions of a locale
    // even when the C library's locale data for it is not installed. Asking
    // it leaves the process-wide C locale alone.
    const QString separator = QLocale::system().decimalPoint();
    return separator.isEmpty() ? QStringLiteral(".") : separator;
}

static QString withSeparator(QString text, const QString &decimalSeparator)
{
    if (decimalSeparator != QLatin1String("."))
        text.replace(QLatin1Char('.'), decimalSeparator);
    return text;
}

QString significantDigitsText(double x, int digits, const QString &decimalSeparator)
{
    if (!std::isfinite(x))
        return {};
    if (x == 0)
        return QStringLiteral("0");
    // nearbyint rounds a half to the even neighbour in the default rounding mode.
    const double wanted = std::nearbyint(double(digits) - std::log10(std::fabs(x)));
    const int decimals = int(qBound(0.0, wanted, 10.0));
    return withSeparator(QString::number(x, 'f', decimals), decimalSeparator);
}

QString plainDecimalText(double x, const QString &decimalSeparator)
{
    if (!std::isfinite(x))
        return {};
    if (x == 0)
        return QStringLiteral("0");
    const int magnitude = int(std::floor(std::log10(std::fabs(x))));
    const int decimals = qBound(0, 14 - magnitude, 30);
    QString text = QString::number(x, 'f', decimals);
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    return withSeparator(text, decimalSeparator);
}

} // namespace quillbay
