#pragma once
// The string table: every text the program shows, by number, in English or
// Japanese. The language follows the user's locale environment.

#include <QString>
#include <QStringList>
#include <optional>

namespace quillbay {

enum class UiLanguage { English, Japanese };

class UiText
{
public:
    // The entry's text in the interface language, or nothing when the table
    // has no such entry. Entry 980 (the default settings document) is one text
    // for both languages.
    static std::optional<QString> findText(int id);
    // The same, a missing entry giving an empty text.
    static QString LoadText(int id) { return findText(id).value_or(QString()); }
    // LoadText, then every placeholder replaced in order: pairs = placeholder, value, placeholder, value ...
    // Values are inserted as they are: a placeholder inside a value is not replaced.
    static QString LoadTextWith(int id, const QStringList &pairs);
    static QString LanguageCode();   // "en" or "ja": the text of entry 20
    static QString LanguageSuffix(); // "En" or "Ja": the code with its first letter in upper case

    // The language in force. Unless setLanguage fixed it, it is taken from the
    // locale environment on first use and kept for the life of the program, as
    // windows load their texts once.
    static UiLanguage language();
    // Tests and the start-up code may fix the language; otherwise it comes from the environment.
    static void setLanguage(UiLanguage language);
    // Forgets the language in force: the next use takes it from the
    // environment again (for tests that change the environment).
    static void chooseLanguageAgain();
    // The language that the locale environment asks for now (LocaleLanguage.h).
    static UiLanguage languageFromEnvironment();
};

} // namespace quillbay
