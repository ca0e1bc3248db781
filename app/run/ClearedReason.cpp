#include "run/ClearedReason.h"

#include "text/UiText.h"

#include <cstring>
#include <iterator>

namespace quillbay {

namespace {

// Indexed by the enum's value.
constexpr const char *kCodes[] = {
    "",        "invalidName", "taken",   "blockedByFile", "blockedByFolder", "noTemporaryName",
    "changed", "replaced",    "missing", "refused"};

} // namespace

void markCleared(pugi::xml_node entry, ClearedReason reason)
{
    if (reason == ClearedReason::None)
        return;
    pugi::xml_attribute attribute = entry.attribute(kClearedAttribute);
    if (!attribute)
        attribute = entry.append_attribute(kClearedAttribute);
    attribute.set_value(kCodes[size_t(reason)]);
}

ClearedReason clearedReasonOf(pugi::xml_node entry)
{
    const pugi::xml_attribute attribute = entry.attribute(kClearedAttribute);
    if (!attribute)
        return ClearedReason::None;
    for (size_t i = 1; i < std::size(kCodes); ++i)
        if (std::strcmp(attribute.value(), kCodes[i]) == 0)
            return ClearedReason(i);
    return ClearedReason::None;
}

QString reversalReasonText(ClearedReason reason)
{
    switch (reason) {
    case ClearedReason::ChangedSinceRun:
        return UiText::LoadText(20080);
    case ClearedReason::Replaced:
        return UiText::LoadText(20081);
    case ClearedReason::Missing:
        return UiText::LoadText(20082);
    case ClearedReason::Refused:
        return UiText::LoadText(20083);
    default:
        return {};
    }
}

} // namespace quillbay
