#pragma once
// The platform services that the whole program shares, created first at
// start-up: the identity of the system, registry access, the string table and
// the interface language, and the command-line and tag parsers.
//
// It hands each request to the class that knows it; it keeps the system
// flags that the operating-system check sets.

#include "base/Arguments.h"
#include "base/Conversions.h"
#include "services/Registry.h"
#include "services/SystemIdentity.h"
#include "text/ControlTag.h"
#include "text/UiText.h"

namespace quillbay {

class CommonGeneral
{
public:
    explicit CommonGeneral(RegistryStore store = RegistryStore());

    // The operating-system check of the start-up: identifies the running
    // system, sets the two flags, and tells whether the program can run.
    bool checkSystem(const SystemIdentity &system = identifyRunningSystem());
    bool ntFamily() const { return m_ntFamily; }
    bool windows2000OrLater() const { return m_windows2000OrLater; }

    Registry &registry() { return m_registry; }

    static QString LoadText(int id) { return UiText::LoadText(id); }
    static QString LoadTextWith(int id, const QStringList &pairs) { return UiText::LoadTextWith(id, pairs); }
    static QString LanguageCode() { return UiText::LanguageCode(); }
    static QString LanguageSuffix() { return UiText::LanguageSuffix(); }
    static ControlTag parseTag(const QString &tag) { return ControlTag::parse(tag); }

private:
    Registry m_registry;
    bool m_ntFamily = false;
    bool m_windows2000OrLater = false;
};

} // namespace quillbay
