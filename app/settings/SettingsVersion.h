#pragma once
// Which settings files the program can use. The root "settings" carries a
// version, read as a decimal number with "." as its separator whatever the
// locale: 2.0 up to (not including) 3.0 is the current format; a lower
// version is the older format when the root has at least one "setting"; a
// missing, unreadable or higher version makes the file unusable.

#include <pugixml.hpp>

namespace quillbay {

enum class SettingsFormat { Current, Older, Unusable };

SettingsFormat classifySettings(const pugi::xml_document &doc);

} // namespace quillbay
