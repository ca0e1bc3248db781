#pragma once
// Character-level transforms that the naming rules apply to names: letter case
// by fixed tables, half-width/full-width conversions, and the test for
// characters that a file name cannot hold. None of them depends on the locale.

#include <QString>

namespace quillbay {

class NameText
{
public:
    static QString ToLowerName(const QString &text);
    static QString ToUpperName(const QString &text);
    static QString CapitalizeWords(const QString &text);
    // Lower-cases the whole text, then upper-cases its first character (which may become several).
    static QString toSentenceCase(const QString &text);
    // Full-width ASCII to half-width; in file-name mode characters that a name cannot hold stay full-width.
    static QString ToNarrow(const QString &text, bool fileNameMode);
    // Half-width to full-width; katakanaOnly leaves ASCII alone.
    static QString ToWide(const QString &text, bool katakanaOnly);
    static bool IsValidNameChar(char16_t codeUnit);
};

} // namespace quillbay
