#include "run/FolderCursor.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace quillbay {

FolderCursor::~FolderCursor()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

int FolderCursor::enter(const char *path, int *error)
{
    std::string key(path);
    while (key.size() > 1 && key.back() == '/')
        key.pop_back();
    if (m_fd >= 0 && key == m_path) {
        *error = 0;
        return m_fd;
    }
    if (m_fd >= 0)
        ::close(m_fd);
    m_path = key;
    m_fd = FileRenamer::openFolder(QByteArray(key.data(), qsizetype(key.size())), error);
    m_listing = m_fd >= 0 ? &m_listings[key] : nullptr;
    if (m_fd < 0)
        m_path.clear();
    return m_fd;
}

void FolderCursor::load(Listing &listing)
{
    listing.loaded = true;
    const int fd = ::openat(m_fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    DIR *dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return;
    }
    while (const dirent *e = ::readdir(dir)) {
        // Entries of unknown type are left out: a miss is checked on disk.
        if (e->d_type == DT_DIR)
            listing.names.emplace(e->d_name, ItemKind::Folder);
        else if (e->d_type != DT_UNKNOWN)
            listing.names.emplace(e->d_name, ItemKind::File);
    }
    ::closedir(dir);
}

ItemKind FolderCursor::kindOf(const char *name)
{
    if (m_listing) {
        if (!m_listing->loaded && ++m_listing->uses >= kListingThreshold)
            load(*m_listing);
        if (m_listing->loaded) {
            const auto it = m_listing->names.find(name);
            if (it != m_listing->names.end())
                return it->second;
        }
    }
    return FileRenamer::kindOf(m_fd, name);
}

void FolderCursor::noteRenamed(const char *from, const char *to, ItemKind kind)
{
    if (!m_listing || !m_listing->loaded)
        return;
    m_listing->names.erase(from);
    m_listing->names[to] = kind;
}

void FolderCursor::noteMissing(const char *name)
{
    if (m_listing && m_listing->loaded)
        m_listing->names.erase(name);
}

void FolderCursor::forgetAll()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_path.clear();
    m_listing = nullptr;
    m_listings.clear();
}

} // namespace quillbay
