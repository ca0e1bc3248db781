#include "settings/SettingsVersion.h"

#include "settings/SettingsSchema.h"
#include "settings/XmlTools.h"

namespace quillbay {

SettingsFormat classifySettings(const pugi::xml_document &doc)
{
    const pugi::xml_node root = doc.document_element();
    if (!root || std::string_view(root.name()) != kSettings)
        return SettingsFormat::Unusable;
    const pugi::xml_attribute version = root.attribute(kVersion);
    if (!version)
        return SettingsFormat::Unusable;
    const std::optional<double> number = parseNumber(toQString(version));
    if (!number || *number >= 3.0)
        return SettingsFormat::Unusable;
    if (*number >= 2.0)
        return SettingsFormat::Current;
    return root.child(kSetting) ? SettingsFormat::Older : SettingsFormat::Unusable;
}

} // namespace quillbay
