#include "engine/NameCompare.h"

#include <QHash>
#include <QVarLengthArray>

namespace quillbay {

namespace {

const char16_t *units(const QString &text)
{
    return reinterpret_cast<const char16_t *>(text.constData());
}

// The folded form of a name; short names stay on the stack.
using FoldBuffer = QVarLengthArray<char16_t, 256>;

// QString::toCaseFolded maps each code point on its own, with no regard to
// context, and so does this, with QChar's table of the same mappings, but
// without building a string when nothing changes and without the detours of
// Qt's string conversion. Text with surrogates is left to Qt, which has its
// own rules for unpaired ones. Returns the length of the folded form written
// to out, or -1 when Qt must fold the text.
qsizetype foldInto(const QString &text, FoldBuffer &out)
{
    const char16_t *p = units(text);
    const qsizetype n = text.size();
    out.resize(n);
    char16_t *o = out.data();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = p[i];
        if (u < 0x80) {
            o[i] = u >= u'A' && u <= u'Z' ? char16_t(u + (u'a' - u'A')) : u;
        } else if (QChar::isSurrogate(u)) {
            return -1;
        } else {
            const char32_t folded = QChar::toCaseFolded(char32_t(u));
            if (QChar::requiresSurrogates(folded))
                return -1;
            o[i] = char16_t(folded);
        }
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

size_t foldedNameHash(const QString &name)
{
    FoldBuffer buffer;
    const qsizetype length = foldInto(name, buffer);
    if (length < 0)
        return qHash(QStringView(name.toCaseFolded()));
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
