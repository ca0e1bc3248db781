#pragma once
// Letter-case mappings of Unicode 3.2 (simple mappings plus the unconditional
// special ones), compiled in as tables so that the result never depends on the
// locale or on the Unicode version of the platform.

#include <QString>

namespace quillbay {

enum class CaseMapping { Lower, Upper, Title };

class CaseTables
{
public:
    // Most UTF-16 code units that one input code unit can turn into.
    static constexpr qsizetype kMaxGrowth = 3;

    // Appends the mapping of codePoint, or codePoint itself when it has none.
    static void appendMapped(CaseMapping mapping, char32_t codePoint, QString &out);
    // A cased letter is the source of at least one of the three mappings.
    static bool isCased(char32_t codePoint);
    // Appends one code point (a lone surrogate as the single unit it is).
    static void appendCodePoint(char32_t codePoint, QString &out);
};

} // namespace quillbay
