#include "engine/NameDate.h"

namespace quillbay {

const QStringList &nameDateOptions()
{
    static const QStringList options = {
        QStringLiteral("long date and time 1"), QStringLiteral("long date and time 2"),
        QStringLiteral("short date and time 1"), QStringLiteral("DateTimeIso8601Short"),
        QStringLiteral("short date 1"), QStringLiteral("short date 2"),
    };
    return options;
}

QString nameDateSample(int position)
{
    static const QStringList samples = {
        QStringLiteral("2000-01-01 23-01-59"), QStringLiteral("2000-01-01 230159"),
        QStringLiteral("20000101 230159"), QStringLiteral("20000101T230159"),
        QStringLiteral("2000-01-01"), QStringLiteral("20000101"),
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

static QString pad(int value, int width)
{
    return QString::number(value).rightJustified(width, u'0');
}

QString FormatNameDate(const QString &option, const QDateTime &dateTime)
{
    const QDate d = dateTime.date();
    const QTime t = dateTime.time();
    const QString year = pad(d.year(), 4), month = pad(d.month(), 2), day = pad(d.day(), 2);
    const QString hour = pad(t.hour(), 2), minute = pad(t.minute(), 2), second = pad(t.second(), 2);
    switch (nameDatePosition(option)) {
    case 1:
        return year + u'-' + month + u'-' + day + u' ' + hour + minute + second;
    case 2:
        return year + month + day + u' ' + hour + minute + second;
    case 3:
        return year + month + day + u'T' + hour + minute + second;
    case 4:
        return year + u'-' + month + u'-' + day;
    case 5:
        return year + month + day;
    default:
        return year + u'-' + month + u'-' + day + u' ' + hour + u'-' + minute + u'-' + second;
    }
}

} // namespace quillbay
