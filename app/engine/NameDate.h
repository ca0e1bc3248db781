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

} // namespace quillbay
