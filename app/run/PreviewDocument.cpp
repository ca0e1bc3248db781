#include "run/PreviewDocument.h"

#include "base/Utf8Text.h"
#include "settings/XmlTools.h"

#include <algorithm>
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
    const Result<void> made =
        XmlTools::loadText(m_doc, prologueFor(languageSuffix) + QStringLiteral("<files version='1.0'/>"));
    QB_ASSERT(made, m_doc.reset());
    // The index of an empty document is complete, and AddPreviewEntry keeps it
    // so: a preview's index is ready when the preview is, without a walk.
    m_index = EntryIndex();
    m_index.built = true;
    m_entryCount = 0;
    m_countKnown = true;
}

Result<void> PreviewDocument::loadFile(const QString &path)
{
    Result<void> loaded = XmlTools::loadFile(m_doc, path);
    entriesChanged();
    return loaded;
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
    ++m_entryCount;
    if (m_index.built) {
        if (m_index.byNumber.size() <= m_entryCounter)
            m_index.byNumber.resize(size_t(m_entryCounter) * 2);
        m_index.byNumber[size_t(m_entryCounter)] = entry;
    }
    return entry;
}

bool PreviewDocument::isEntry(pugi::xml_node node)
{
    return node.type() == pugi::node_element
        && (std::strcmp(node.name(), "file") == 0 || std::strcmp(node.name(), "folder") == 0);
}

namespace {

// N of an id "f<N>" (digits without a leading zero), or 0 for any other id.
size_t counterNumber(const char *id)
{
    if (id[0] != 'f' || id[1] < '1' || id[1] > '9')
        return 0;
    size_t n = 0;
    const char *end = id + std::strlen(id);
    const auto [rest, error] = std::from_chars(id + 1, end, n);
    return error == std::errc() && rest == end ? n : 0;
}

// A file entry wins over a folder entry of the same id, and the first of two
// entries of one kind over the second, as a search in document order finds them.
bool takesSlot(pugi::xml_node candidate, pugi::xml_node holder)
{
    return !holder || (std::strcmp(holder.name(), "folder") == 0 && std::strcmp(candidate.name(), "file") == 0);
}

} // namespace

void PreviewDocument::buildIndex() const
{
    m_index = EntryIndex();
    m_index.built = true;
    int count = 0;
    for (pugi::xml_node e = root().first_child(); e; e = e.next_sibling())
        count += isEntry(e) ? 1 : 0;
    m_entryCount = count;
    m_countKnown = true;
    // Numbers far beyond the number of entries (a document edited by hand)
    // would make the table large: such ids go to the hash.
    const size_t largest = size_t(count) * 2 + 16;
    m_index.byNumber.resize(std::max<size_t>(largest, size_t(m_entryCounter) + 1));
    for (pugi::xml_node e = root().first_child(); e; e = e.next_sibling()) {
        if (!isEntry(e))
            continue;
        const char *id = e.attribute("id").value();
        const size_t n = counterNumber(id);
        pugi::xml_node &slot = n > 0 && n < m_index.byNumber.size() ? m_index.byNumber[n] : m_index.byText[id];
        if (takesSlot(e, slot))
            slot = e;
    }
}

pugi::xml_node PreviewDocument::findEntry(const QString &id) const
{
    if (!m_index.built)
        buildIndex();
    const QByteArray key = id.toUtf8();
    const size_t n = counterNumber(key.constData());
    const pugi::xml_node found = n > 0 && n < m_index.byNumber.size() ? m_index.byNumber[n] : m_index.byText.value(key);
    // Every change of the entry list drops the index; an entry found under
    // another id means one went by unannounced.
    QB_ASSERT(!found || key == found.attribute("id").value(), buildIndex(); return findEntry(id));
    return found;
}

bool PreviewDocument::SetEntryInclude(const QString &id, bool include)
{
    const pugi::xml_node found = findEntry(id);
    if (!found)
        return false;
    XmlTools::setAttribute(found, "include", include ? QStringLiteral("true") : QStringLiteral("false"));
    return true;
}

int PreviewDocument::entryCount() const
{
    if (!m_countKnown)
        buildIndex();
    return m_entryCount;
}

void PreviewDocument::removeEntry(pugi::xml_node entry)
{
    QB_ASSERT(entry.parent() == root() && isEntry(entry), return);
    if (m_countKnown)
        --m_entryCount;
    // Another entry of the same id may now be the one a look-up finds.
    m_index.built = false;
    root().remove_child(entry);
}

void PreviewDocument::entriesChanged()
{
    m_index = EntryIndex();
    m_countKnown = false;
}

} // namespace quillbay
