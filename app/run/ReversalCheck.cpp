#include "run/ReversalCheck.h"

#include "run/EntryRenamer.h"

#include <cstring>
#include <string_view>

namespace quillbay {

namespace {

size_t keyHash(int folderId, const char *name)
{
    return std::hash<std::string_view>{}(name) ^ (size_t(folderId) * 0x9E3779B97F4A7C15ull);
}

ClearedReason reasonFor(IdentityMatch match)
{
    switch (match) {
    case IdentityMatch::Same:
        return ClearedReason::None;
    case IdentityMatch::Changed:
        return ClearedReason::ChangedSinceRun;
    case IdentityMatch::Replaced:
        return ClearedReason::Replaced;
    case IdentityMatch::Missing:
        return ClearedReason::Missing;
    }
    return ClearedReason::Missing;
}

std::string joined(const std::string &folder, const char *name)
{
    return folder == "/" ? folder + name : folder + '/' + name;
}

} // namespace

int ReversalCheck::reportFolderId(const char *folder)
{
    // Entries of one folder follow each other.
    if (m_lastFolderId >= 0 && m_lastFolderText == folder)
        return m_lastFolderId;
    m_lastFolderText = folder;
    std::string key = m_lastFolderText;
    while (key.size() > 1 && key.back() == '/')
        key.pop_back();
    const auto [found, added] = m_folderIds.try_emplace(key, int(m_reportFolders.size()));
    if (added)
        m_reportFolders.push_back(key);
    m_lastFolderId = found->second;
    return m_lastFolderId;
}

const std::string *ReversalCheck::keep(std::string folder)
{
    const auto found = m_diskFolderIndex.find(folder);
    if (found != m_diskFolderIndex.end())
        return found->second;
    const std::string *kept = &m_diskFolders.emplace_back(std::move(folder));
    m_diskFolderIndex.emplace(*kept, kept);
    return kept;
}

const std::string *ReversalCheck::diskFolderOf(int folderId)
{
    if (folderId == m_resolvedId)
        return m_resolved;
    const std::string &folder = m_reportFolders[size_t(folderId)];
    std::string disk = folder;
    // The nearest enclosing folder that the run renamed later carries this one.
    for (size_t end = folder.size(); end > 0; end = folder.rfind('/', end - 1)) {
        const auto found = m_movedFolders.find(folder.substr(0, end));
        if (found != m_movedFolders.end()) {
            disk = found->second + folder.substr(end);
            break;
        }
    }
    m_resolvedId = folderId;
    m_resolved = keep(std::move(disk));
    return m_resolved;
}

ReversalCheck::Moved *ReversalCheck::movedFrom(int folderId, const char *name)
{
    Moved *hit = nullptr;
    m_movedIndex.find(keyHash(folderId, name), [&](int reference) {
        Moved &m = m_moved[size_t(reference)];
        if (m.folderId != folderId || std::strcmp(m.name, name) != 0)
            return false;
        hit = &m;
        return true;
    });
    return hit;
}

void ReversalCheck::noteMoved(int folderId, const char *name, const Location &now)
{
    // A name may be left twice in one run; the earlier leaving is read later.
    if (Moved *m = movedFrom(folderId, name)) {
        m->now = now;
        return;
    }
    m_movedIndex.insert(keyHash(folderId, name), int(m_moved.size()));
    m_moved.push_back({folderId, name, now});
}

IdentityMatch ReversalCheck::lookAt(const Location &at, const ItemIdentity &identity)
{
    int error = 0;
    struct stat st;
    if (m_cursor.enter(at.folder->c_str(), &error) < 0 || m_cursor.kindOf(at.name, st) == ItemKind::Missing)
        return IdentityMatch::Missing;
    return identity.compare(st);
}

ClearedReason ReversalCheck::check(const char *folder, const char *name, const char *newName, bool folderEntry,
                                   const std::optional<ItemIdentity> &identity)
{
    if (!EntryRenamer::isUsableFolder(folder) || !EntryRenamer::isUsableName(name)
        || !EntryRenamer::isUsableName(newName))
        return ClearedReason::Refused;
    const int folderId = reportFolderId(folder);
    // The item this entry moved: under newName right after the entry, and
    // wherever later entries of the run took it since.
    const Moved *later = movedFrom(folderId, newName);
    const Location now = later ? later->now : Location{diskFolderOf(folderId), newName};
    // Entries before this one that left an item under name meant this item.
    noteMoved(folderId, name, now);
    if (folderEntry) {
        m_movedFolders[joined(m_reportFolders[size_t(folderId)], name)] = joined(*now.folder, now.name);
        m_resolvedId = -1;
    }
    if (!identity)
        return ClearedReason::None;
    return reasonFor(lookAt(now, *identity));
}

} // namespace quillbay
