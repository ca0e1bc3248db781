#pragma once
// The date and time texts that the "date" and "exif" rules put into names.

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace quillbay {

// The option names in the order the rule's option list shows them.
const QStringList &nameDateOptions();
// The sample text shown beside each option.
QString nameDateSample(int position);
// List position of an option name; an unknown name maps to 0.
int nameDatePosition(const QString &option);
// Option name of a list position; a position outside 1..5 maps to the first option.
QString nameDateOption(int position);

// Formats a local date-time by the option's pattern (24-hour clock, zero-padded).
QString FormatNameDate(const QString &option, const QDateTime &dateTime);
QString FormatNameDate(const QString &option, const QDate &date, const QTime &time);

// The local date and time of an instant, exactly as QDateTime gives them.
struct LocalDateTime {
    QDate date;
    QTime time;
};
// For the times files carry (1970 to 2038) this asks the C library directly:
// QDateTime looks the time zone up again for each conversion, which reads the
// zone file's status every time and, for a preview of many files, costs more
// than everything else the date rule does. Call refreshTimeZone() before a run.
LocalDateTime localDateTimeOf(qint64 msecsSinceEpoch);
void refreshTimeZone();

} // namespace quillbay
