#include "run/ReversalCheck.h"

#include "run/EntryRenamer.h"

#include <fcntl.h>
#include <unistd.h>

namespace quillbay {

namespace {

std::string withoutTrailingSlashes(const char *folder)
{
    std::string f(folder);
    while (f.size() > 1 && f.back() == '/')
        f.pop_back();
    return f;
}

std::string joined(const std::string &folder, const char *name)
{
    return folder == "/" ? folder + name : folder + '/' + name;
}

IdentityMatch lookAtPath(int folderFd, const char *name, const ItemIdentity &identity)
{
    struct stat st;
    if (folderFd < 0 || ::fstatat(folderFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return IdentityMatch::Missing;
    return identity.compare(st);
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

} // namespace

ReversalCheck::~ReversalCheck()
{
    if (m_folderFd >= 0)
        ::close(m_folderFd);
}

std::string ReversalCheck::diskFolderOf(const std::string &folder)
{
    // Entries of one folder follow each other; folders renamed in between
    // change the answer.
    if (!m_lastFolder.empty() && folder == m_lastFolder)
        return m_lastDiskFolder;
    std::string disk = folder;
    // The nearest enclosing folder that the run renamed later carries this one.
    for (size_t end = folder.size(); end > 0; end = folder.rfind('/', end - 1)) {
        const auto found = m_movedFolders.find(folder.substr(0, end));
        if (found != m_movedFolders.end()) {
            disk = found->second + folder.substr(end);
            break;
        }
    }
    m_lastFolder = folder;
    m_lastDiskFolder = disk;
    return disk;
}

IdentityMatch ReversalCheck::lookAt(const std::string &diskPath, const ItemIdentity &identity)
{
    const size_t slash = diskPath.rfind('/');
    const std::string folder = slash == 0 ? std::string("/") : diskPath.substr(0, slash);
    if (m_folderFd < 0 || folder != m_openFolder) {
        if (m_folderFd >= 0)
            ::close(m_folderFd);
        m_openFolder = folder;
        m_folderFd = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    }
    return lookAtPath(m_folderFd, diskPath.c_str() + slash + 1, identity);
}

ClearedReason ReversalCheck::check(const char *folder, const char *name, const char *newName, bool folderEntry,
                                   const std::optional<ItemIdentity> &identity)
{
    if (!EntryRenamer::isUsableFolder(folder) || !EntryRenamer::isUsableName(name)
        || !EntryRenamer::isUsableName(newName))
        return ClearedReason::Refused;
    const std::string reportFolder = withoutTrailingSlashes(folder);
    // The item this entry moved: under newName right after the entry, and
    // wherever later entries of the run took it since.
    const auto later = m_moved.find(joined(reportFolder, newName));
    const std::string now = later != m_moved.end() ? later->second : joined(diskFolderOf(reportFolder), newName);
    // Entries before this one that left an item under name meant this item.
    const std::string before = joined(reportFolder, name);
    m_moved[before] = now;
    if (folderEntry) {
        m_movedFolders[before] = now;
        m_lastFolder.clear();
    }
    if (!identity)
        return ClearedReason::None;
    return reasonFor(lookAt(now, *identity));
}

} // namespace quillbay
