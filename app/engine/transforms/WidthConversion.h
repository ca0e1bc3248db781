#pragma once
// Conversions between the half-width and full-width forms of ASCII, katakana
// and Hangul, by fixed tables.

#include <QString>

namespace quillbay {

class WidthConversion
{
public:
    // Full-width ASCII (U+FF01-U+FF5E) to ASCII, unit by unit. With keepInvalidNameChars
    // a character that a name cannot hold stays full-width.
    static QString ToNarrow(QString text, bool keepInvalidNameChars);
    // Half-width katakana and Hangul to full-width (a katakana with a following sound
    // mark becomes one character); ASCII too unless katakanaOnly.
    static QString ToWide(QStringView text, bool katakanaOnly);
};

} // namespace quillbay
