#include "engine/NameCompare.h"

#include <QHash>
#include <QVarLengthArray>
#include <algorithm>

namespace quillbay {

namespace {

const char16_t *units(QStringView text)
{
    return reinterpret_cast<const char16_t *>(text.constData());
}

// The folded form of a code unit that is no surrogate, or 0 when it would not
// stay one unit (no such mapping exists; Qt is asked then).
char16_t foldUnit(char16_t u)
{
    if (u < 0x80)
        return u >= u'A' && u <= u'Z' ? char16_t(u + (u'a' - u'A')) : u;
    const char32_t folded = QChar::toCaseFolded(char32_t(u));
    return QChar::requiresSurrogates(folded) ? 0 : char16_t(folded);
}

// The folded form of a name; short names stay on the stack.
using FoldBuffer = QVarLengthArray<char16_t, 256>;

// QString::toCaseFolded maps each code point on its own, with no regard to
// context, and so does this, with QChar's table of the same mappings, but
// without building a string when nothing changes and without the detours of
// Qt's string conversion. Text with surrogates is left to Qt, which has its
// own rules for unpaired ones. Returns the length of the folded form written
// to out, or -1 when Qt must fold the text.
qsizetype foldInto(QStringView text, FoldBuffer &out)
{
    const char16_t *p = units(text);
    const qsizetype n = text.size();
    out.resize(n);
    char16_t *o = out.data();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = p[i];
        if (QChar::isSurrogate(u))
            return -1;
        o[i] = foldUnit(u);
        if (o[i] == 0 && u != 0)
            return -1;
    }
    return n;
}

QStringView viewOf(const FoldBuffer &buffer, qsizetype length)
{
    return QStringView(buffer.data(), length);
}

} // namespace

QString foldedName(const QString &name)
{
    FoldBuffer buffer;
    const qsizetype length = foldInto(name, buffer);
    if (length < 0)
        return name.toCaseFolded();
    if (viewOf(buffer, length) == QStringView(name))
        return name;
    return viewOf(buffer, length).toString();
}

size_t foldedNameHash(QStringView name)
{
    FoldBuffer buffer;
    const qsizetype length = foldInto(name, buffer);
    if (length < 0)
        return qHash(QStringView(name.toString().toCaseFolded()));
    return qHash(viewOf(buffer, length));
}

bool sameFoldedName(const QString &a, const QString &b)
{
    FoldBuffer x;
    FoldBuffer y;
    const qsizetype lengthA = foldInto(a, x);
    const qsizetype lengthB = lengthA < 0 ? -1 : foldInto(b, y);
    if (lengthB < 0)
        return a.toCaseFolded() == b.toCaseFolded();
    return viewOf(x, lengthA) == viewOf(y, lengthB);
}

// The sign of the comparison of the folded texts, as Qt folds them.
static int compareFoldedByQt(const QString &a, const QString &b)
{
    return qBound(-1, QString::compare(a.toCaseFolded(), b.toCaseFolded()), 1);
}

int compareFoldedNames(const QString &a, const QString &b)
{
    // Until a surrogate turns up (Qt folds text with surrogates by its own
    // rules), folding goes unit by unit: the first difference decides.
    const char16_t *p = units(a);
    const char16_t *q = units(b);
    const qsizetype common = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < common; ++i) {
        if (QChar::isSurrogate(p[i]) || QChar::isSurrogate(q[i]))
            return compareFoldedByQt(a, b);
        if (p[i] == q[i])
            continue;
        const char16_t x = foldUnit(p[i]);
        const char16_t y = foldUnit(q[i]);
        if (x == 0 || y == 0)
            return compareFoldedByQt(a, b);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

quint64 foldedHead(QStringView name, qsizetype from)
{
    quint64 head = 0;
    foldedHeads(name, from, &head, 1);
    return head;
}

void foldedHeads(QStringView name, qsizetype from, quint64 *heads, int count)
{
    const char16_t *p = units(name);
    const qsizetype end = std::min(name.size(), from + 4 * qsizetype(count));
    std::fill(heads, heads + count, 0);
    for (qsizetype i = 0; i < end; ++i) {
        const char16_t folded = QChar::isSurrogate(p[i]) ? 0 : foldUnit(p[i]);
        if (folded == 0 && p[i] != 0) {
            // Up to here unit-by-unit folding agrees with Qt's; from here on
            // Qt's own rules decide, so its folded text is taken whole.
            const QString whole = name.toString().toCaseFolded();
            std::fill(heads, heads + count, 0);
            for (qsizetype k = from; k < from + 4 * qsizetype(count); ++k) {
                quint64 &head = heads[(k - from) / 4];
                head = head << 16 | (k < whole.size() ? whole.at(k).unicode() : 0u);
            }
            return;
        }
        if (i >= from) {
            quint64 &head = heads[(i - from) / 4];
            head = head << 16 | folded;
        }
    }
    // Zeros past the end, so that every head holds its four units big-endian.
    for (qsizetype k = std::max(end, from); k < from + 4 * qsizetype(count); ++k) {
        quint64 &head = heads[(k - from) / 4];
        head <<= 16;
    }
}

NameSorter::NameSorter() : m_collator(QLocale()), m_plainLocale(QLocale().language() == QLocale::C)
{
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
}

int NameSorter::compare(const QString &a, const QString &b) const
{
    const int c = m_plainLocale ? compareFoldedNames(a, b) : sortKey(a).compare(sortKey(b));
    if (c != 0)
        return c;
    // Names the collator calls equal (they differ in letter case only, which
    // a case-sensitive file system allows) still need a fixed order.
    return QString::compare(a, b, Qt::CaseSensitive);
}

} // namespace quillbay
