#pragma once
// The string table: every text the program shows, by number, in English or
// Japanese. The language follows the user's locale environment.

#include <QString>
#include <QStringList>

namespace quillbay {

enum class UiLanguage { English, Japanese };

class UiText
{
public:
    // The entry's text in the interface language; a missing entry gives an
    // empty text and found = false.
    static QString LoadText(int id, bool *found = nullptr);
    // LoadText, then every placeholder replaced in order: pairs = placeholder, value, placeholder, value ...
    static QString LoadTextWith(int id, const QStringList &pairs, bool *found = nullptr);
    static QString LanguageCode();   // "en" or "ja"
    static QString LanguageSuffix(); // "En" or "Ja"

    static UiLanguage language();
    // Tests and the start-up code may fix the language; otherwise it comes from the environment.
    static void setLanguage(UiLanguage language);
    static UiLanguage languageFromEnvironment();
};

} // namespace quillbay
