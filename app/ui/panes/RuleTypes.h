#pragma once
// The rule types each rule list offers: the type's number (the index of its
// option pane), its key as stored in a rule's "type", the caption it is
// shown by, and its place in the list of types that can be added.

#include "settings/SettingsDocument.h"

#include <QHash>
#include <QList>
#include <QString>

namespace quillbay {

struct RuleTypeEntry {
    int number;
    const char *key;
    int captionId;
    int position; // place in the add list
};

class RuleTypeTable
{
public:
    static const RuleTypeTable &of(RuleKind kind);

    int count() const { return int(m_entries.size()); }
    const RuleTypeEntry &entry(int number) const { return m_entries[number]; }
    // The type's number, or -1 for a key the list does not know (letter case counts).
    int numberOf(const QString &key) const { return m_numbers.value(key, -1); }
    // The numbers in the order of the add list.
    QList<int> addListOrder() const;

private:
    explicit RuleTypeTable(QList<RuleTypeEntry> entries);
    QList<RuleTypeEntry> m_entries;
    QHash<QString, int> m_numbers;
};

} // namespace quillbay
