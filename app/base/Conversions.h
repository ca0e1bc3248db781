#pragma once
// Small conversions that windows and the locale code share.

namespace quillbay {

// The parts of a 16-bit language identifier of a locale (as the font choice
// by language reads them): the primary language and the sub-language.
constexpr int primaryLanguage(int languageId)
{
    return languageId & 1023;
}
constexpr int subLanguage(int languageId)
{
    return languageId / 1024;
}

// Check boxes hold 0 or 1 where the documents hold flags; a number is a flag
// that is set unless it is 0.
constexpr int flagToCheckState(bool flag)
{
    return flag ? 1 : 0;
}
constexpr bool numberToFlag(long long number)
{
    return number != 0;
}

} // namespace quillbay
