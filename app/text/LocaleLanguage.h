#pragma once
// The user-interface language that the locale environment of a Linux desktop
// asks for.

#include "text/UiText.h"

#include <QString>

namespace quillbay {

// The variables that decide the language of messages, as found in the
// environment (an unset variable is an empty text).
struct LocaleEnvironment {
    QString language;   // LANGUAGE: a colon-separated list of languages
    QString lcAll;      // LC_ALL
    QString lcMessages; // LC_MESSAGES
    QString lang;       // LANG

    static LocaleEnvironment current();
};

// The locale of messages is the first non-empty of LC_ALL, LC_MESSAGES and
// LANG. LANGUAGE takes precedence over it, as gettext does, except when that
// locale is C or POSIX (or nothing is set, which means C): then LANGUAGE is
// ignored. Of LANGUAGE only the first entry counts. Japanese when the chosen
// name is Japanese ("ja", "ja_JP.UTF-8", "japanese" ...), English otherwise.
UiLanguage chooseUiLanguage(const LocaleEnvironment &environment);

} // namespace quillbay
