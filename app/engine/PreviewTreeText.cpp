#include "engine/PreviewTreeText.h"

#include "settings/XmlTools.h"

#include <cstring>

namespace quillbay {

QString previewTreeText(pugi::xml_node entry)
{
    QString name = toQString(entry.attribute("name"));
    if (name.size() > 90)
        name = name.left(90) + QStringLiteral("...");
    const QString newName = toQString(entry.attribute("newName"));
    const QString folder = toQString(entry.attribute("folder"));
    const bool isFolder = std::strcmp(entry.name(), "folder") == 0;
    const QString mark = isFolder ? QStringLiteral("\\") : QString();
    return name + mark + QStringLiteral(" -> ") + newName + mark + QStringLiteral(" (in ") + folder + u')';
}

bool previewEntryChecked(pugi::xml_node entry)
{
    return XmlTools::ReadFlagAttribute(entry, "include", true);
}

} // namespace quillbay
