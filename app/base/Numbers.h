#pragma once
// Reading numbers from text, the one way every part of the program does it.

#include <QString>
#include <optional>

namespace quillbay {

// The value of a hexadecimal digit (0-9, a-f, A-F); -1 for anything else.
constexpr int hexDigitValue(int c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// A number as the settings and options files may hold it: optional blanks and
// sign, digits, an optional fraction and exponent. Anything else (also "inf"
// and "nan") gives no value.
std::optional<double> parseNumber(const QString &text);

// Rounds to the nearest whole number, a half going to the even neighbour, and
// clamps into the range of int.
int roundHalfEven(double value);

} // namespace quillbay
