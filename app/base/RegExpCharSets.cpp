#include "base/RegExpCharSets.h"

#include <QStringList>

#include <algorithm>

namespace quillbay::regexp_detail {
namespace {

CodeRanges complement(const CodeRanges &sorted)
{
    CodeRanges out;
    char32_t next = 0;
    for (const auto &[lo, hi] : sorted) {
        if (lo > next)
            out.push_back({char16_t(next), char16_t(lo - 1)});
        next = char32_t(hi) + 1;
    }
    if (next <= 0xFFFF)
        out.push_back({char16_t(next), char16_t(0xFFFF)});
    return out;
}

const CodeRanges &digitRanges()
{
    static const CodeRanges ranges{{u'0', u'9'}};
    return ranges;
}
const CodeRanges &wordRanges()
{
    static const CodeRanges ranges{{u'0', u'9'}, {u'A', u'Z'}, {u'_', u'_'}, {u'a', u'z'}};
    return ranges;
}
// ASCII white space only (tab, line feed, vertical tab, form feed, carriage
// return, space). This is the \s of the scripting engine whose patterns the
// settings hold; later ECMAScript editions widened \s to U+00A0, U+FEFF, the
// line separators and Unicode's space separators. Settings written for the
// narrower class (and the "space" rule's class, which lists U+00A0, U+3000,
// U+2000-U+200B and U+202F beside \s) depend on it staying narrow.
const CodeRanges &spaceRanges()
{
    static const CodeRanges ranges{{0x0009, 0x000D}, {0x0020, 0x0020}};
    return ranges;
}
const CodeRanges &lineTerminatorRanges()
{
    static const CodeRanges ranges{{0x000A, 0x000A}, {0x000D, 0x000D}, {0x2028, 0x2029}};
    return ranges;
}

// Characters that ECMAScript's case-insensitive matching matches only to
// themselves, while PCRE2's case folding joins them to other characters
// (U+00DF with U+1E9E, U+017F with "s", U+212A with "k", U+2126 with omega,
// U+212B with a-ring, U+03F4 with theta, the Greek letters with iota
// subscript with their title-case forms).
const CodeRanges &caseIsolatedRanges()
{
    static const CodeRanges ranges{{0x00DF, 0x00DF}, {0x017F, 0x017F}, {0x03F4, 0x03F4}, {0x1E9E, 0x1E9E},
                                   {0x1F80, 0x1FAF}, {0x1FB3, 0x1FB3}, {0x1FBC, 0x1FBC}, {0x1FC3, 0x1FC3},
                                   {0x1FCC, 0x1FCC}, {0x1FF3, 0x1FF3}, {0x1FFC, 0x1FFC}, {0x2126, 0x2126},
                                   {0x212A, 0x212B}};
    return ranges;
}

bool isCaseIsolated(char16_t c)
{
    const CodeRanges &ranges = caseIsolatedRanges();
    return std::any_of(ranges.begin(), ranges.end(),
                       [c](const CodeRange &range) { return c >= range.first && c <= range.second; });
}

// The other characters whose PCRE2 case folding reaches a case-isolated one.
bool reachesCaseIsolated(char16_t lo, char16_t hi)
{
    static constexpr char16_t partners[] = {u'K',   u'S',   u'k',   u's',   0x00C5, 0x00E5,
                                            0x0398, 0x03A9, 0x03B8, 0x03C9, 0x03D1};
    return std::any_of(std::begin(partners), std::end(partners), [&](char16_t c) { return c >= lo && c <= hi; });
}

bool isAsciiAlnum(char16_t c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

QString unitText(char16_t c)
{
    if (isAsciiAlnum(c))
        return QString(QChar(c));
    static const char16_t digits[] = u"0123456789ABCDEF";
    const char16_t text[6] = {
        u'\\', u'u', digits[(c >> 12) & 0xF], digits[(c >> 8) & 0xF], digits[(c >> 4) & 0xF], digits[c & 0xF]};
    return QString::fromUtf16(text, 6);
}

// A plain bracket class. PCRE2 10.42 mishandles an optional empty class
// ("[]?" never matches), so an empty set is written as a failing assertion.
QString bracketText(const CodeRanges &ranges, bool negated)
{
    if (ranges.empty())
        return negated ? QStringLiteral("[\\u0000-\\uFFFF]") : QStringLiteral("(?:(?!))");
    QString text = negated ? QStringLiteral("[^") : QStringLiteral("[");
    for (const auto &[lo, hi] : ranges) {
        text += unitText(lo);
        if (hi != lo)
            text += u'-' + unitText(hi);
    }
    return text + u']';
}

QString caseExact(const QString &text)
{
    return QStringLiteral("(?-i:") + text + u')';
}

// Splits ranges into the case-isolated units and the rest.
void splitCaseIsolated(const CodeRanges &ranges, CodeRanges &isolated, CodeRanges &rest)
{
    for (const auto &[lo, hi] : ranges) {
        char32_t next = lo;
        for (const auto &[isoLo, isoHi] : caseIsolatedRanges()) {
            if (isoHi < next || isoLo > hi)
                continue;
            if (isoLo > next)
                rest.push_back({char16_t(next), char16_t(isoLo - 1)});
            isolated.push_back({std::max<char16_t>(char16_t(next), isoLo), std::min(isoHi, hi)});
            next = char32_t(isoHi) + 1;
        }
        if (next <= hi)
            rest.push_back({char16_t(next), hi});
    }
}

} // namespace

const CodeRanges *classEscapeRanges(char16_t letter)
{
    static const CodeRanges notDigit = complement(digitRanges());
    static const CodeRanges notWord = complement(wordRanges());
    static const CodeRanges notSpace = complement(spaceRanges());
    switch (letter) {
    case u'd':
        return &digitRanges();
    case u'D':
        return &notDigit;
    case u'w':
        return &wordRanges();
    case u'W':
        return &notWord;
    case u's':
        return &spaceRanges();
    case u'S':
        return &notSpace;
    default:
        return nullptr;
    }
}

QString literalText(char16_t unit, bool ignoreCase)
{
    if (ignoreCase && (isCaseIsolated(unit) || reachesCaseIsolated(unit, unit)))
        return classText({{unit, unit}}, {}, false, true);
    return unitText(unit);
}

QString classText(const CodeRanges &units, const CodeRanges &escapeSets, bool negated, bool ignoreCase)
{
    if (!ignoreCase) {
        CodeRanges all = units;
        all.insert(all.end(), escapeSets.begin(), escapeSets.end());
        return bracketText(all, negated);
    }
    // Case-insensitively: class escapes and case-isolated units match
    // exactly; the other units case-insensitively, but never reach a
    // case-isolated character through case folding.
    CodeRanges exact = escapeSets;
    CodeRanges folded;
    splitCaseIsolated(units, exact, folded);
    const bool guard = std::any_of(folded.begin(), folded.end(), [](const CodeRange &range) {
        return reachesCaseIsolated(range.first, range.second);
    });
    const QString isolatedText = caseExact(bracketText(caseIsolatedRanges(), false));
    if (negated) {
        QString text = QStringLiteral("(?:");
        if (!exact.empty())
            text += QStringLiteral("(?!") + caseExact(bracketText(exact, false)) + u')';
        if (guard)
            text += QStringLiteral("(?:") + isolatedText + u'|' + bracketText(folded, true) + u')';
        else
            text += bracketText(folded, true);
        return text + u')';
    }
    QStringList alternatives;
    if (!exact.empty())
        alternatives.append(caseExact(bracketText(exact, false)));
    if (!folded.empty())
        alternatives.append((guard ? QStringLiteral("(?!") + isolatedText + u')' : QString())
                            + bracketText(folded, false));
    if (alternatives.isEmpty())
        return bracketText({}, false);
    return QStringLiteral("(?:") + alternatives.join(u'|') + u')';
}

QString classEscapeText(const CodeRanges &set)
{
    return caseExact(bracketText(set, false));
}

const QString &wordBoundaryText(bool negated)
{
    static const QString word = bracketText(wordRanges(), false);
    static const QString boundary = QStringLiteral("(?-i:(?<=%1)(?!%1)|(?<!%1)(?=%1))").arg(word);
    static const QString notBoundary = QStringLiteral("(?-i:(?<=%1)(?=%1)|(?<!%1)(?!%1))").arg(word);
    return negated ? notBoundary : boundary;
}

const QString &anyButLineTerminatorText()
{
    static const QString text = bracketText(lineTerminatorRanges(), true);
    return text;
}

const QString &lineStartText()
{
    static const QString text = QStringLiteral("(?<!") + anyButLineTerminatorText() + u')';
    return text;
}

const QString &lineEndText()
{
    static const QString text = QStringLiteral("(?!") + anyButLineTerminatorText() + u')';
    return text;
}

} // namespace quillbay::regexp_detail
