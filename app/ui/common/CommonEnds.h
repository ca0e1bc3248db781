#pragma once
// How much an old and a new name share at their beginning and their end: the
// text between is what a rename changed. The sample under the rule lists and
// the preview list mark changes from it.

#include <QStringView>
#include <algorithm>

namespace quillbay {

struct CommonEnds {
    qsizetype head = 0; // code units both names begin with
    qsizetype tail = 0; // code units both names end with, not overlapping head
};

inline CommonEnds commonEnds(QStringView before, QStringView after)
{
    const qsizetype shorter = std::min(before.size(), after.size());
    CommonEnds ends;
    while (ends.head < shorter && before[ends.head] == after[ends.head])
        ++ends.head;
    while (ends.tail < shorter - ends.head
           && before[before.size() - 1 - ends.tail] == after[after.size() - 1 - ends.tail])
        ++ends.tail;
    return ends;
}

} // namespace quillbay
