#include "engine/PreviewMessages.h"

#include "engine/PreviewRun.h"
#include "run/PreviewDocument.h"
#include "settings/XmlTools.h"
#include "text/UiText.h"

#include <QDir>
#include <cstring>

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

QString SkippedFolderMessage(const SkippedFolder &skipped)
{
    return UiText::LoadTextWith(30003, {QStringLiteral("&path;"), skipped.path, QStringLiteral("&reason;"),
                                        QString::fromLocal8Bit(std::strerror(skipped.errorNumber))});
}

QStringList FailedEntryLines(const PreviewDocument &document)
{
    QStringList lines;
    for (pugi::xml_node e = document.root().first_child(); e; e = e.next_sibling()) {
        const pugi::xml_attribute error = e.attribute("error");
        if (!error)
            continue;
        const QString path = QDir(toQString(e.attribute("folder"))).filePath(toQString(e.attribute("name")));
        lines << QStringLiteral("%1 -> %2: %3").arg(path, toQString(e.attribute("newName")), toQString(error));
    }
    return lines;
}

} // namespace quillbay
