#include "ui/panes/OptionLists.h"

#include "text/UiText.h"

namespace quillbay {

namespace {

struct Listed {
    int textId; // 0: the text is fixed
    const char *text;
    const char *value;
};

// The date samples show the shape of each format with 2000-01-01 23:01:59;
// they are fixed texts, not formatted at run time.
const QList<Listed> kDates{
    {0, "2000-01-01 23-01-59", "long date and time 1"},
    {0, "2000-01-01 230159", "long date and time 2"},
    {0, "20000101 230159", "short date and time 1"},
    {0, "20000101T230159", "DateTimeIso8601Short"},
    {0, "2000-01-01", "short date 1"},
    {0, "20000101", "short date 2"},
};

QList<Listed> listed(OptionList list)
{
    switch (list) {
    case OptionList::SetOrAdd:
        return {{1572, "", "replace"}, {1573, "", "before"}, {1574, "", "after"}};
    case OptionList::DateFormat:
        return kDates;
    case OptionList::ExifValue:
        return kDates.mid(0, 4) + QList<Listed>{{11013, "", "Width"},        {11014, "", "Height"},
                                                {11015, "", "Manufacturer"}, {11016, "", "Model"},
                                                {11017, "", "Flash"},        {11018, "", "F number"},
                                                {11019, "", "ExposureTime"}, {11020, "", "ExposureTimeRev"}};
    case OptionList::Mp3Tag:
        return {{1601, "", "Album"},
                {1602, "", "Artist"},
                {1603, "", "Comment"},
                {1604, "", "Song Title"},
                {1605, "", "Year"}};
    case OptionList::OfficeProperty:
        return {{1701, "", "Title"}, {1702, "", "Subject"}, {1703, "", "Author"}};
    case OptionList::Width:
        return {{1621, "", "Narrow"}, {1622, "", "Wide"}, {1623, "", "WideKatakana"}};
    case OptionList::FirstLast:
        return {{1584, "", "first"}, {1585, "", "last"}};
    }
    return {};
}

} // namespace

QList<OptionListEntry> optionListEntries(OptionList list)
{
    QList<OptionListEntry> entries;
    for (const Listed &entry : listed(list)) {
        const QString text = entry.textId ? UiText::LoadText(entry.textId) : QString::fromUtf8(entry.text);
        entries.append({text, QString::fromLatin1(entry.value)});
    }
    return entries;
}

} // namespace quillbay
