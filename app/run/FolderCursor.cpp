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

namespace {

// A folder's path without trailing slashes, as folders are told apart here.
std::string_view folderKey(const char *path)
{
    size_t length = std::strlen(path);
    while (length > 1 && path[length - 1] == '/')
        --length;
    return std::string_view(path, length);
}

uint32_t hashOf(std::string_view name)
{
    return uint32_t(std::hash<std::string_view>{}(name));
}

} // namespace

int FolderCursor::enter(const char *path, int *error)
{
    const std::string_view key = folderKey(path);
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
    m_expectedHere = m_path == m_announcedPath ? m_announcedCount : 0;
    if (m_fd < 0)
        m_path.clear();
    return m_fd;
}

void FolderCursor::expectEntries(const char *path, int count)
{
    m_announcedPath.assign(folderKey(path));
    m_announcedCount = count;
}

void FolderCursor::Listing::add(std::string_view name, Known kind)
{
    // Beyond what a place or a length can name: such a name is checked on disk.
    if (name.size() > 0xFFFF || m_text.size() + name.size() + 3 > size_t(INT32_MAX))
        return;
    if (m_text.empty())
        m_text.push_back('\0');
    m_index.insert(hashOf(name), int(m_text.size()));
    m_text.push_back(char(kind));
    m_text.push_back(char(name.size() & 0xFF));
    m_text.push_back(char(name.size() >> 8));
    m_text.append(name);
}

void FolderCursor::Listing::clear()
{
    std::string().swap(m_text);
    m_index.clear();
}

uint32_t FolderCursor::Listing::find(std::string_view name) const
{
    uint32_t found = 0;
    m_index.find(hashOf(name), [&](int place) {
        const unsigned char *entry = reinterpret_cast<const unsigned char *>(m_text.data()) + place;
        const size_t length = size_t(entry[1]) | size_t(entry[2]) << 8;
        if (length != name.size() || std::memcmp(entry + 3, name.data(), length) != 0)
            return false;
        found = uint32_t(place);
        return true;
    });
    return found;
}

void FolderCursor::load(Listing &listing, size_t maxNames)
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
        if (listing.size() >= maxNames) {
            listing.clear();
            listing.loaded = false;
            break;
        }
        // Entries of unknown type are left out: a miss is checked on disk.
        if (e->d_type == DT_DIR)
            listing.add(e->d_name, Known::Folder);
        else if (e->d_type != DT_UNKNOWN)
            listing.add(e->d_name, Known::File);
    }
    ::closedir(dir);
}

bool FolderCursor::shouldLoad(Listing &listing)
{
    if (listing.loaded)
        return true;
    if (++listing.uses >= kListingThreshold) {
        load(listing);
    } else if (!listing.triedEarly && m_expectedHere >= kAnnouncedThreshold) {
        // Worth it only while the listing is not much longer than the entries
        // are many; a longer one is read after all once kListingThreshold
        // entries have come.
        listing.triedEarly = true;
        load(listing, size_t(m_expectedHere) * kNamesPerAnnouncedEntry);
    }
    return listing.loaded;
}

ItemKind FolderCursor::kindOf(const char *name)
{
    m_lastName = nullptr;
    if (m_listing) {
        if (shouldLoad(*m_listing)) {
            if (const uint32_t place = m_listing->find(name)) {
                m_lastName = name;
                m_lastHit = place;
                const Known known = m_listing->kindAt(place);
                if (known != Known::Unknown)
                    return known == Known::Folder ? ItemKind::Folder : ItemKind::File;
            }
        }
    }
    return FileRenamer::kindOf(m_fd, name);
}

void FolderCursor::noteGone(const char *name)
{
    if (!m_listing || !m_listing->loaded)
        return;
    const uint32_t place = name == m_lastName ? m_lastHit : m_listing->find(name);
    if (place != 0)
        m_listing->setKindAt(place, Known::Unknown);
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
    m_expectedHere = 0;
}

} // namespace quillbay
