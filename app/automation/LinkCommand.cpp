#include "automation/LinkCommand.h"

namespace quillbay {

std::optional<QString> openCommandPath(const QString &command)
{
    static const QString opening = QStringLiteral("open(\"");
    constexpr qsizetype closingLength = 2;
    if (!command.startsWith(opening) || command.size() < opening.size() + closingLength)
        return std::nullopt;
    return command.mid(opening.size(), command.size() - opening.size() - closingLength);
}

} // namespace quillbay
