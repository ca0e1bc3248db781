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

void FolderCursor::Listing::add(std::string_view name, Known kind)
{
    if (m_text.size() + name.size() > UINT32_MAX)
        return; // beyond what an offset can name: such names are checked on disk
    if ((m_count + 1) * 2 > m_slots.size())
        grow();
    Slot slot;
    slot.hash = std::hash<std::string_view>{}(name);
    slot.offset = uint32_t(m_text.size());
    slot.length = uint32_t(name.size());
    slot.kind = kind;
    slot.used = true;
    m_text.append(name);
    const size_t mask = m_slots.size() - 1;
    size_t i = slot.hash & mask;
    while (m_slots[i].used)
        i = (i + 1) & mask;
    m_slots[i] = slot;
    ++m_count;
}

FolderCursor::Known *FolderCursor::Listing::find(std::string_view name)
{
    if (m_slots.empty())
        return nullptr;
    const size_t hash = std::hash<std::string_view>{}(name);
    const size_t mask = m_slots.size() - 1;
    for (size_t i = hash & mask; m_slots[i].used; i = (i + 1) & mask) {
        Slot &slot = m_slots[i];
        if (slot.hash == hash && std::string_view(m_text).substr(slot.offset, slot.length) == name)
            return &slot.kind;
    }
    return nullptr;
}

void FolderCursor::Listing::grow()
{
    std::vector<Slot> old;
    old.swap(m_slots);
    m_slots.resize(old.empty() ? 1024 : old.size() * 2);
    const size_t mask = m_slots.size() - 1;
    for (const Slot &slot : old) {
        if (!slot.used)
            continue;
        size_t i = slot.hash & mask;
        while (m_slots[i].used)
            i = (i + 1) & mask;
        m_slots[i] = slot;
    }
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
            listing.add(e->d_name, Known::Folder);
        else if (e->d_type != DT_UNKNOWN)
            listing.add(e->d_name, Known::File);
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
            if (Known *known = m_listing->find(name)) {
                m_lastName = name;
                m_lastHit = known;
                if (*known != Known::Unknown)
                    return *known == Known::Folder ? ItemKind::Folder : ItemKind::File;
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
        *m_lastHit = Known::Unknown;
        return;
    }
    if (Known *known = m_listing->find(name))
        *known = Known::Unknown;
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
