#include "engine/NameDate.h"

#include <charconv>
#include <ctime>

namespace quillbay {

const QStringList &nameDateOptions()
{
    static const QStringList options = {
        QStringLiteral("long date and time 1"),  QStringLiteral("long date and time 2"),
        QStringLiteral("short date and time 1"), QStringLiteral("DateTimeIso8601Short"),
        QStringLiteral("short date 1"),          QStringLiteral("short date 2"),
    };
    return options;
}

QString nameDateSample(int position)
{
    static const QStringList samples = {
        QStringLiteral("2000-01-01 23-01-59"), QStringLiteral("2000-01-01 230159"), QStringLiteral("20000101 230159"),
        QStringLiteral("20000101T230159"),     QStringLiteral("2000-01-01"),        QStringLiteral("20000101"),
    };
    return samples.value(position);
}

int nameDatePosition(const QString &option)
{
    const qsizetype i = nameDateOptions().indexOf(option);
    return i < 0 ? 0 : int(i);
}

QString nameDateOption(int position)
{
    if (position < 1 || position > 5)
        return nameDateOptions().first();
    return nameDateOptions().at(position);
}

namespace {

// QString::number(value).rightJustified(width, '0'), appended without building either.
void appendPadded(QString &out, int value, int width)
{
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    const int length = int(end - digits);
    for (int i = length; i < width; ++i)
        out += u'0';
    out += QLatin1String(digits, length);
}

} // namespace

QString FormatNameDate(const QString &option, const QDateTime &dateTime)
{
    return FormatNameDate(option, dateTime.date(), dateTime.time());
}

QString FormatNameDate(const QString &option, const QDate &d, const QTime &t)
{
    const int position = nameDatePosition(option);
    QString out;
    out.reserve(20);
    appendPadded(out, d.year(), 4);
    if (position == 0 || position == 1 || position == 4)
        out += u'-';
    appendPadded(out, d.month(), 2);
    if (position == 0 || position == 1 || position == 4)
        out += u'-';
    appendPadded(out, d.day(), 2);
    if (position == 4 || position == 5)
        return out;
    out += position == 3 ? u'T' : u' ';
    appendPadded(out, t.hour(), 2);
    if (position == 0)
        out += u'-';
    appendPadded(out, t.minute(), 2);
    if (position == 0)
        out += u'-';
    appendPadded(out, t.second(), 2);
    return out;
}

void refreshTimeZone()
{
    ::tzset();
}

LocalDateTime localDateTimeOf(qint64 msecsSinceEpoch)
{
    // Within these bounds every Qt version converts with localtime_r; outside
    // them Qt has rules of its own, so it is asked itself.
    const qint64 seconds = msecsSinceEpoch / 1000;
    const int msecs = int(msecsSinceEpoch % 1000);
    if (msecsSinceEpoch >= 0 && seconds < 0x7fffffff) {
        const time_t t = time_t(seconds);
        struct tm local;
        if (::localtime_r(&t, &local))
            return {QDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday),
                    QTime(local.tm_hour, local.tm_min, local.tm_sec, msecs)};
    }
    const QDateTime dateTime = QDateTime::fromMSecsSinceEpoch(msecsSinceEpoch);
    return {dateTime.date(), dateTime.time()};
}

} // namespace quillbay
