#include "run/PreviewDocument.h"

#include "settings/XmlTools.h"

#include <cstring>

namespace quillbay {

PreviewDocument::PreviewDocument()
{
    NewPreviewDocument(QStringLiteral("En"));
}

QString PreviewDocument::prologueFor(const QString &languageSuffix)
{
    return QStringLiteral("<?xml version='1.0' encoding='UTF-16'?><?xml-stylesheet type='text/xsl' href='../Report")
        + languageSuffix + QStringLiteral(".xsl' ?>");
}

void PreviewDocument::NewPreviewDocument(const QString &languageSuffix)
{
    m_languageSuffix = languageSuffix;
    m_entryCounter = 0;
    XmlTools::LoadText(m_doc, prologueFor(languageSuffix) + QStringLiteral("<files version='1.0'/>"));
}

QString PreviewDocument::NextEntryId()
{
    return QStringLiteral("f") + QString::number(++m_entryCounter);
}

pugi::xml_node PreviewDocument::AddPreviewEntry(const char *kind, const QString &folder, const QString &name,
                                                const QString &newName, bool include)
{
    pugi::xml_node entry = root().append_child(kind);
    entry.append_attribute("name").set_value(toUtf8(name).c_str());
    entry.append_attribute("newName").set_value(toUtf8(newName).c_str());
    entry.append_attribute("folder").set_value(toUtf8(folder).c_str());
    entry.append_attribute("id").set_value(toUtf8(NextEntryId()).c_str());
    if (!include)
        entry.append_attribute("include").set_value("false");
    return entry;
}

bool PreviewDocument::SetEntryInclude(const QString &id, bool include)
{
    const std::string key = toUtf8(id);
    pugi::xml_node found;
    for (const char *kind : {"file", "folder"}) {
        for (pugi::xml_node e = root().child(kind); e && !found; e = e.next_sibling(kind))
            if (key == e.attribute("id").value())
                found = e;
        if (found)
            break;
    }
    if (!found)
        return false;
    XmlTools::SetAttribute(found, "include", include ? QStringLiteral("true") : QStringLiteral("false"));
    return true;
}

int PreviewDocument::entryCount() const
{
    int n = 0;
    for (pugi::xml_node e = root().first_child(); e; e = e.next_sibling())
        if (std::strcmp(e.name(), "file") == 0 || std::strcmp(e.name(), "folder") == 0)
            ++n;
    return n;
}

} // namespace quillbay
