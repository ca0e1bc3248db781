#include "engine/PreviewMessages.h"

#include "engine/PreviewRun.h"
#include "ui/text/UiText.h"

#include <QStringList>

namespace quillbay {

QString PreconditionMessage(int bits)
{
    QStringList texts;
    if (bits & NoRules)
        texts << UiText::LoadText(1276);
    if (bits & NoFolders)
        texts << UiText::LoadText(1278);
    if (bits & MissingFolders)
        texts << UiText::LoadText(1277);
    return texts.join(QStringLiteral("\r\n"));
}

QString InvalidCountMessage(int invalidCount)
{
    if (invalidCount <= 0)
        return {};
    return UiText::LoadTextWith(invalidCount == 1 ? 1274 : 1275,
                                {QStringLiteral("&num;"), QString::number(invalidCount)});
}

} // namespace quillbay
