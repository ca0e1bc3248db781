#include "settings/OptionsTable.h"

namespace quillbay {

qsizetype OptionsTable::indexOf(const QString &key) const
{
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].key == key)
            return i;
    }
    return -1;
}

void OptionsTable::set(const QString &key, const StoredValue &value)
{
    const qsizetype i = indexOf(key);
    if (i >= 0)
        m_entries[i].value = value;
    else
        m_entries.append(Entry{key, value});
}

std::optional<StoredValue> OptionsTable::get(const QString &key) const
{
    const qsizetype i = indexOf(key);
    if (i < 0)
        return std::nullopt;
    return m_entries[i].value;
}

QString OptionsTable::text(const QString &key) const
{
    const auto value = get(key);
    return value ? value->toText() : QString();
}

} // namespace quillbay
