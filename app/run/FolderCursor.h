#pragma once
// The folder a rename run is working in, held open, and what is in it.
//
// Entries of one folder follow each other in a run, so the folder's path is
// looked up once, not once per entry. Once a folder has had many entries, its
// listing is read in one pass and the existence check of each entry becomes a
// look-up in memory: on a large folder that halves the system calls of a run.
// The listing is kept up to date with the run's own renames; a name it does not
// hold is always checked on disk, and a stale hit can only lead to a rename that
// fails with "not found", since the renames themselves never replace anything.

#include "run/FileRenamer.h"

#include <string>
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
    // Keeps the listing of the current folder in step with a rename of the run.
    void noteRenamed(const char *from, const char *to, ItemKind kind);
    void noteMissing(const char *name);
    // After a folder was renamed, every path held may name something else.
    void forgetAll();

    static constexpr int kListingThreshold = 64;

private:
    struct Listing {
        int uses = 0;
        bool loaded = false;
        std::unordered_map<std::string, ItemKind> names;
    };
    void load(Listing &listing);

    std::string m_path;
    int m_fd = -1;
    Listing *m_listing = nullptr;
    std::unordered_map<std::string, Listing> m_listings;
};

} // namespace quillbay
