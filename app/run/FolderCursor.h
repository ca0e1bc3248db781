#pragma once
// The folder a rename run is working in, held open, and what is in it.
//
// Entries of one folder follow each other in a run, so the folder's path is
// looked up once, not once per entry. Once a folder has had many entries, its
// listing is read in one pass and the existence check of each entry becomes a
// look-up in memory: on a large folder that saves a system call per entry.
// A name that the run has moved away is marked as unknown in the listing, and
// names the run created are not in it: both are then checked on disk. A stale
// hit (another program removed the item since the listing was read) can only
// lead to a rename that fails with "not found", since renames never replace.

#include "run/FileRenamer.h"

#include <string>
#include <string_view>
#include <unordered_map>

namespace quillbay {

class FolderCursor
{
public:
    FolderCursor() = default;
    ~FolderCursor();
    FolderCursor(const FolderCursor &) = delete;
    FolderCursor &operator=(const FolderCursor &) = delete;

    // Makes the folder at path (file-system bytes) current; its descriptor, or
    // -1 with error set.
    int enter(const char *path, int *error);
    // What name is in the current folder.
    ItemKind kindOf(const char *name);
    // The item called name has been moved away by the run.
    void noteGone(const char *name);
    // After a folder was renamed, every path held may name something else.
    void forgetAll();

    static constexpr int kListingThreshold = 64;

private:
    // Heterogeneous look-up: no string is built to look a name up.
    struct NameHash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    enum class Known : unsigned char { File, Folder, Unknown };
    struct Listing {
        int uses = 0;
        bool loaded = false;
        std::unordered_map<std::string, Known, NameHash, std::equal_to<>> names;
    };
    void load(Listing &listing);

    std::string m_path;
    int m_fd = -1;
    Listing *m_listing = nullptr;
    // The last name found in the listing, so that noting it gone needs no
    // second look-up (listings never grow after loading: the iterator stays valid).
    const char *m_lastName = nullptr;
    std::unordered_map<std::string, Known, NameHash, std::equal_to<>>::iterator m_lastHit;
    std::unordered_map<std::string, Listing> m_listings;
};

} // namespace quillbay
