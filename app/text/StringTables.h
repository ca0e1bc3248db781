#pragma once
// The string tables compiled into the program, parsed once, on first use.

#include "text/StringTableFormat.h"
#include "text/UiText.h"

#include <optional>

namespace quillbay {

class StringTables
{
public:
    // The table of one language, as read from its file (errors included, so
    // that the tests can hold the files to their format).
    static const ParsedStringTable &table(UiLanguage language);

    // Entries that exist once for both languages: 980, the default settings
    // document. No value for any other id, or when the document was missing
    // at build time.
    static std::optional<QString> languageIndependentText(int id);

    static constexpr int kDefaultSettingsId = 980;
};

} // namespace quillbay
