#include "run/FolderCursor.h"

#include <cerrno>
#include <cstring>
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
    size_t length = std::strlen(path);
    while (length > 1 && path[length - 1] == '/')
        --length;
    const std::string_view key(path, length);
    if (m_fd >= 0 && key == m_path) {
        *error = 0;
        return m_fd;
    }
    if (m_fd >= 0)
        ::close(m_fd);
    m_path.assign(key);
    m_lastName = nullptr;
    m_fd = FileRenamer::openFolder(QByteArray(key.data(), qsizetype(key.size())), error);
    m_listing = m_fd >= 0 ? &m_listings[m_path] : nullptr;
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
            listing.names.emplace(e->d_name, Known::Folder);
        else if (e->d_type != DT_UNKNOWN)
            listing.names.emplace(e->d_name, Known::File);
    }
    ::closedir(dir);
}

ItemKind FolderCursor::kindOf(const char *name)
{
    m_lastName = nullptr;
    if (m_listing) {
        if (!m_listing->loaded && ++m_listing->uses >= kListingThreshold)
            load(*m_listing);
        if (m_listing->loaded) {
            const auto it = m_listing->names.find(std::string_view(name));
            if (it != m_listing->names.end()) {
                m_lastName = name;
                m_lastHit = it;
                if (it->second != Known::Unknown)
                    return it->second == Known::Folder ? ItemKind::Folder : ItemKind::File;
            }
        }
    }
    return FileRenamer::kindOf(m_fd, name);
}

void FolderCursor::noteGone(const char *name)
{
    if (!m_listing || !m_listing->loaded)
        return;
    if (name == m_lastName) {
        m_lastHit->second = Known::Unknown;
        return;
    }
    const auto it = m_listing->names.find(std::string_view(name));
    if (it != m_listing->names.end())
        it->second = Known::Unknown;
}

void FolderCursor::forgetAll()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_path.clear();
    m_listing = nullptr;
    m_lastName = nullptr;
    m_listings.clear();
}

} // namespace quillbay
