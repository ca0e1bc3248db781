#pragma once
// The line that shows one preview entry, and the check mark it starts with.

#include <QString>
#include <pugixml.hpp>

namespace quillbay {

// "name -> new name (in folder)"; folders are shown with a trailing "\".
// A current name longer than 90 characters is cut to 90 and "...".
QString previewTreeText(pugi::xml_node entry);

// The entry's check mark; a missing include counts as checked and is written as "True".
bool previewEntryChecked(pugi::xml_node entry);

} // namespace quillbay
