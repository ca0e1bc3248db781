#include "engine/NameValidation.h"

#include "engine/transforms/NameText.h"

namespace quillbay {

// The position of the first unpaired surrogate, or -1.
static qsizetype unpairedSurrogateAt(const QString &name)
{
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name.at(i);
        if (c.isHighSurrogate()) {
            if (i + 1 >= name.size() || !name.at(i + 1).isLowSurrogate())
                return i;
            ++i;
        } else if (c.isLowSurrogate()) {
            return i;
        }
    }
    return -1;
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

NameProblem invalidNameProblem(const QString &name)
{
    if (name.isEmpty())
        return {NameProblem::Empty};
    if (name.size() > 215)
        return {NameProblem::TooLong};
    if (name.at(0) == u' ')
        return {NameProblem::LeadingSpace, 0};
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t u = name.at(i).unicode();
        if (u == 0)
            return {NameProblem::Unstorable, i};
        if (!NameText::IsValidNameChar(u))
            return {NameProblem::ForbiddenChar, i};
    }
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return {NameProblem::DotName};
    if (const qsizetype at = unpairedSurrogateAt(name); at >= 0)
        return {NameProblem::Unstorable, at};
    if (utf8Length(name) > 255)
        return {NameProblem::TooLong};
    return {};
}

bool IsValidNewName(const QString &name)
{
    return invalidNameProblem(name).kind == NameProblem::None;
}

} // namespace quillbay
