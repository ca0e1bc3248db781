#pragma once
// Character sets of ECMAScript patterns written as PCRE2 pattern text.
//
// Every function returns one atom (a quantifier may follow it). Characters
// are written as \uHHHH, which PCRE2 reads under PCRE2_ALT_BSUX; the sets of
// \d \w \s and their negations match case-exactly, as in ECMAScript. \d, \w
// and \s are ASCII; \s is narrower than in today's ECMAScript (see
// SpaceRanges).
//
// Case-insensitive matching: PCRE2 (UCP) follows Unicode case folding, which
// joins a few characters that ECMAScript's matching without the u flag keeps
// apart, e.g. U+017F with "s" and U+212A (Kelvin sign) with "k". Literals and
// classes that involve them are written so that they match as in ECMAScript.

#include <QString>
#include <utility>
#include <vector>

namespace quillbay::regexp_detail {

using CodeRange = std::pair<char16_t, char16_t>; // first and last code unit
using CodeRanges = std::vector<CodeRange>;

// The ranges of \d \D \w \W \s \S, or nullptr for any other letter.
const CodeRanges *classEscapeRanges(char16_t letter);

// One literal code unit.
QString literalText(char16_t unit, bool ignoreCase);

// A bracket class of single units and ranges plus the sets of class escapes.
QString classText(const CodeRanges &units, const CodeRanges &escapeSets, bool negated, bool ignoreCase);

// \d \D \w \W \s \S outside a class.
QString classEscapeText(const CodeRanges &set);

// \b and \B with ECMAScript's ASCII word characters.
const QString &wordBoundaryText(bool negated);

// "." and the multi-line "^" and "$" with ECMAScript's line terminators.
const QString &anyButLineTerminatorText();
const QString &lineStartText();
const QString &lineEndText();

} // namespace quillbay::regexp_detail
