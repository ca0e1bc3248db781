#pragma once
// The link command that outside callers may send to the main program: the
// word open, an opening parenthesis, the path in double quotes and a closing
// parenthesis.

#include <QString>
#include <optional>

namespace quillbay {

// The path of an open command, or nothing when the command is refused. A
// command is taken when its first six characters are "open(" and a double
// quote; the path is then the text from the seventh character up to, but not
// including, the last two (the closing quote and parenthesis), which are not
// looked at. A command too short to hold those two characters is refused.
std::optional<QString> openCommandPath(const QString &command);

} // namespace quillbay
