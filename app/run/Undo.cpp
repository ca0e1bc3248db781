#include "run/Undo.h"

#include "settings/XmlTools.h"

#include <cstring>

namespace quillbay {

Result<void> Undo::UndoFromReport(const QString &path, PreviewDocument &preview, const QString &languageSuffix)
{
    pugi::xml_document report;
    if (Result<void> loaded = XmlTools::loadFile(report, path); !loaded)
        return loaded.error().about(path);
    preview.NewPreviewDocument(languageSuffix);
    pugi::xml_node target = preview.root();
    const pugi::xml_node root = report.document_element();
    for (pugi::xml_node entry = root.last_child(); entry; entry = entry.previous_sibling()) {
        if (entry.type() != pugi::node_element
            || (std::strcmp(entry.name(), "file") != 0 && std::strcmp(entry.name(), "folder") != 0))
            continue;
        const QString renamed = XmlTools::ReadAttribute(entry, "renamed", QStringLiteral("no"), false);
        if (renamed.toLower() != QLatin1String("yes"))
            continue;
        const pugi::xml_attribute name = entry.attribute("name");
        const pugi::xml_attribute newName = entry.attribute("newName");
        if (!name || !newName)
            continue;
        pugi::xml_node copy = target.append_copy(entry);
        const std::string oldName = name.value();
        copy.attribute("name").set_value(newName.value());
        copy.attribute("newName").set_value(oldName.c_str());
        const std::string id = toUtf8(preview.NextEntryId());
        if (pugi::xml_attribute idAttribute = copy.attribute("id"))
            idAttribute.set_value(id.c_str());
        else
            copy.append_attribute("id").set_value(id.c_str());
        copy.remove_attribute("renamed");
    }
    preview.entriesChanged();
    return {};
}

} // namespace quillbay
