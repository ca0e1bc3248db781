#include "engine/NameCompare.h"

namespace quillbay {

NameSorter::NameSorter() : m_collator(QLocale())
{
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
}

int NameSorter::compare(const QString &a, const QString &b) const
{
    const int c = m_collator.compare(a, b);
    if (c != 0)
        return c;
    // Names the collator calls equal (they differ in letter case only, which
    // a case-sensitive file system allows) still need a fixed order.
    return QString::compare(a, b, Qt::CaseSensitive);
}

} // namespace quillbay
