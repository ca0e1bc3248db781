#include "run/PreviewDocument.h"

#include "base/Utf8Text.h"
#include "settings/XmlTools.h"

#include <charconv>
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

const std::string &PreviewDocument::utf8Of(const QString &text)
{
    // Code units outside the surrogate range encode on their own; text with
    // surrogates goes through Qt, which knows what to do with unpaired ones.
    m_buffer.resize(size_t(text.size()) * 3);
    char *out = m_buffer.data();
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (QChar::isSurrogate(u)) {
            m_buffer = toUtf8(text);
            return m_buffer;
        }
        out = putUtf8(out, u);
    }
    m_buffer.resize(size_t(out - m_buffer.data()));
    return m_buffer;
}

pugi::xml_node PreviewDocument::AddPreviewEntry(const char *kind, const QString &folder, const QString &name,
                                                const QString &newName, bool include)
{
    // A preview of a large folder adds hundreds of thousands of entries: the
    // texts are converted without building a string per attribute.
    const auto set = [](pugi::xml_attribute a, const std::string &text) { a.set_value(text.data(), text.size()); };
    pugi::xml_node entry = root().append_child(kind);
    set(entry.append_attribute("name"), utf8Of(name));
    set(entry.append_attribute("newName"), utf8Of(newName));
    if (m_lastFolderUtf8.empty() || folder != m_lastFolder) {
        m_lastFolder = folder;
        m_lastFolderUtf8 = toUtf8(folder);
    }
    set(entry.append_attribute("folder"), m_lastFolderUtf8);
    char id[24] = "f";
    const char *idEnd = std::to_chars(id + 1, id + sizeof id, ++m_entryCounter).ptr;
    entry.append_attribute("id").set_value(id, size_t(idEnd - id));
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
