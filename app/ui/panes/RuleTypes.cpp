#include "ui/panes/RuleTypes.h"

#include <algorithm>

namespace quillbay {

RuleTypeTable::RuleTypeTable(QList<RuleTypeEntry> entries) : m_entries(std::move(entries))
{
    for (const RuleTypeEntry &entry : m_entries)
        m_numbers.insert(QString::fromLatin1(entry.key), entry.number);
}

const RuleTypeTable &RuleTypeTable::of(RuleKind kind)
{
    static const RuleTypeTable files({
        {0, "add", 1240, 0},
        {1, "remove", 1241, 1},
        {2, "replace", 1242, 2},
        {3, "caseBase", 1243, 6},
        {4, "caseExt", 1244, 7},
        {5, "space", 1245, 5},
        {6, "numbering", 1246, 11},
        {7, "adjustDigits", 1247, 12},
        {8, "date", 1248, 9},
        {9, "regexp", 1249, 16},
        {10, "mp3", 1250, 4},
        {11, "MSOffice", 1251, 13},
        {12, "extension", 1252, 8},
        {13, "NarrowWide", 1253, 14},
        {14, "FolderName", 1254, 10},
        {15, "regexpBase", 1256, 15},
        {16, "exif", 1257, 3},
    });
    static const RuleTypeTable folders({
        {0, "add", 1240, 0},
        {1, "remove", 1241, 1},
        {2, "replace", 1242, 2},
        {3, "regexp", 1249, 8},
        {4, "caseBase", 1243, 4},
        {5, "NarrowWide", 1253, 7},
        {6, "space", 1245, 3},
        {7, "adjustDigits", 1247, 6},
        {8, "date", 1248, 5},
    });
    return kind == RuleKind::File ? files : folders;
}

QList<int> RuleTypeTable::addListOrder() const
{
    QList<RuleTypeEntry> ordered = m_entries;
    std::sort(ordered.begin(), ordered.end(),
              [](const RuleTypeEntry &a, const RuleTypeEntry &b) { return a.position < b.position; });
    QList<int> numbers;
    for (const RuleTypeEntry &entry : ordered)
        numbers << entry.number;
    return numbers;
}

} // namespace quillbay
