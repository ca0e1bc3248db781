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
#include <optional>

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

    // Computing a key once per name and comparing keys is far cheaper than
    // comparing through the collator at every step of a sort.
    struct Key {
        std::optional<QCollatorSortKey> collated;
        QString folded; // the C locale has no case-insensitive collation: folded names stand in
        int compare(const Key &other) const
        {
            return collated ? collated->compare(*other.collated) : QString::compare(folded, other.folded);
        }
    };
    Key sortKey(const QString &name) const;
    // False when names are ordered by their folded text, as Key does without a collator.
    bool collates() const { return !m_plainLocale; }
    int compare(const QString &a, const QString &b) const;

private:
    QCollator m_collator;
    bool m_plainLocale = false;
};

} // namespace quillbay
