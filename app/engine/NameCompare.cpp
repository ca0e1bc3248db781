#include "engine/NameCompare.h"

namespace quillbay {

NameSorter::NameSorter() : m_collator(QLocale()), m_plainLocale(QLocale().language() == QLocale::C)
{
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
}

NameSorter::Key NameSorter::sortKey(const QString &name) const
{
    if (m_plainLocale)
        return Key{std::nullopt, foldedName(name)};
    return Key{m_collator.sortKey(name), QString()};
}

int NameSorter::compare(const QString &a, const QString &b) const
{
    const int c = sortKey(a).compare(sortKey(b));
    if (c != 0)
        return c;
    // Names the collator calls equal (they differ in letter case only, which
    // a case-sensitive file system allows) still need a fixed order.
    return QString::compare(a, b, Qt::CaseSensitive);
}

} // namespace quillbay
