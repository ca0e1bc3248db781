#include "engine/NameValidation.h"

#include "engine/transforms/NameText.h"

namespace quillbay {

static bool hasUnpairedSurrogate(const QString &name)
{
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name.at(i);
        if (c.isHighSurrogate()) {
            if (i + 1 >= name.size() || !name.at(i + 1).isLowSurrogate())
                return true;
            ++i;
        } else if (c.isLowSurrogate()) {
            return true;
        }
    }
    return false;
}

// Bytes the name takes as UTF-8 (surrogate pairs are known to be paired here).
static qsizetype utf8Length(const QString &name)
{
    qsizetype bytes = 0;
    for (QChar c : name) {
        const char16_t u = c.unicode();
        bytes += u < 0x80 ? 1 : u < 0x800 ? 2 : QChar::isSurrogate(u) ? 2 : 3;
    }
    return bytes;
}

bool IsValidNewName(const QString &name)
{
    if (name.isEmpty() || name.size() > 215 || name.at(0) == u' ')
        return false;
    for (QChar c : name) {
        if (!NameText::IsValidNameChar(c.unicode()) || c.unicode() == 0)
            return false;
    }
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    if (hasUnpairedSurrogate(name))
        return false;
    return utf8Length(name) <= 255;
}

} // namespace quillbay
