#pragma once
// The drop-down lists shared by the option panes, each entry a text shown in
// the user's language and the value a rule stores.

#include <QList>
#include <QString>

namespace quillbay {

enum class OptionList { SetOrAdd, DateFormat, ExifValue, Mp3Tag, OfficeProperty, Width, FirstLast };

struct OptionListEntry {
    QString text;
    QString value;
};

QList<OptionListEntry> optionListEntries(OptionList list);

} // namespace quillbay
