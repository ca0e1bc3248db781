#pragma once
// How names are compared without regard to letter case.
//
// Sorting follows the user's locale (a case-insensitive collator), so files
// reach the rules, and take their numbers, in the order a person expects.
// Equality ("is this new name taken?") uses Qt's deterministic case folding,
// which does not change with the locale.

#include <QCollator>
#include <QCollatorSortKey>
#include <QString>

namespace quillbay {

// The key under which a name is looked up in a set of taken names: the same
// text as QString::toCaseFolded, made in one pass without Qt's detours.
QString foldedName(const QString &name);
// qHash of foldedName(name), computed without building that string.
size_t foldedNameHash(QStringView name);
// foldedName(a) == foldedName(b), decided without building either string.
bool sameFoldedName(const QString &a, const QString &b);
// The sign of QString::compare(foldedName(a), foldedName(b)), without
// building either string.
int compareFoldedNames(const QString &a, const QString &b);
// Code units from..from+3 of foldedName(name), big-endian, zeros past its end.
quint64 foldedHead(QStringView name, qsizetype from);
// foldedHead(name, from + 4 * i) for i below count, read in one pass.
void foldedHeads(QStringView name, qsizetype from, quint64 *heads, int count);

class NameSorter
{
public:
    NameSorter();

    // False in the C locale, which has no case-insensitive collation: names
    // are then ordered by their folded text (compareFoldedNames).
    bool collates() const { return !m_plainLocale; }
    // The collation key of a name, when collates(): computing a key once per
    // name and comparing keys is far cheaper than comparing through the
    // collator at every step of a sort.
    QCollatorSortKey sortKey(const QString &name) const { return m_collator.sortKey(name); }
    int compare(const QString &a, const QString &b) const;

private:
    QCollator m_collator;
    bool m_plainLocale = false;
};

} // namespace quillbay
