#pragma once
// The application options in memory: values under text keys, compared
// exactly (letter case counts), kept in the order in which the keys first
// arrived.

#include "base/StoredValue.h"

#include <QList>
#include <QString>
#include <optional>

namespace quillbay {

class OptionsTable
{
public:
    struct Entry {
        QString key;
        StoredValue value;
    };

    // Replaces the value of an existing key in its place, or appends the key.
    void set(const QString &key, const StoredValue &value);
    bool contains(const QString &key) const { return indexOf(key) >= 0; }
    std::optional<StoredValue> get(const QString &key) const;
    // The value's text; empty when the key is missing.
    QString text(const QString &key) const;
    const QList<Entry> &entries() const { return m_entries; }
    void clear() { m_entries.clear(); }

private:
    qsizetype indexOf(const QString &key) const;

    QList<Entry> m_entries;
};

} // namespace quillbay
