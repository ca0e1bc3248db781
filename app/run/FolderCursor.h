#pragma once
// The folder a rename run is working in, held open, and what is in it.
//
// Entries of one folder follow each other in a run, so the folder's path is
// looked up once, not once per entry. Once a folder has had many entries, its
// listing is read in one pass and the existence check of each entry becomes a
// look-up in memory: that saves a system call per entry. When the run says
// beforehand how many entries a folder will have, a folder with a few of them
// has its listing read at the first one, unless the listing turns out to be
// much longer than the entries are many (a few files of a huge folder).
// A name that the run has moved away is marked as unknown in the listing, and
// names the run created are not in it: both are then checked on disk. A stale
// hit (another program removed the item since the listing was read) can only
// lead to a rename that fails with "not found", since renames never replace.

#include "base/HashIndex.h"
#include "run/FileRenamer.h"

#include <cstdint>
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
    // The next count entries are all in the folder at path.
    void expectEntries(const char *path, int count);

    static constexpr int kListingThreshold = 64;
    // Announced entries from which a listing is read at once, and how many
    // names per announced entry it may then hold.
    static constexpr int kAnnouncedThreshold = 4;
    static constexpr int kNamesPerAnnouncedEntry = 64;

private:
    enum class Known : unsigned char { File, Folder, Unknown };
    // The names of one folder as read in one pass: all of them in one block
    // of text, found through an open-addressing table of their hashes. A large
    // folder holds hundreds of thousands of names; a node and a string each
    // would cost more than the system call the listing saves.
    class Listing
    {
    public:
        int uses = 0;
        bool loaded = false;
        bool triedEarly = false;
        void add(std::string_view name, Known kind);
        // Where the listing keeps name, or 0 when it does not hold it.
        uint32_t find(std::string_view name) const;
        size_t size() const { return m_index.size(); }
        void clear();
        Known kindAt(uint32_t place) const { return Known(m_text[place]); }
        void setKindAt(uint32_t place, Known kind) { m_text[place] = char(kind); }

    private:
        // Each name is kept as a byte of kind, two bytes of length and the
        // name; the index holds where each starts (never 0: the text starts
        // with a byte of its own), by the hash of the name.
        std::string m_text;
        HashIndex m_index;
    };
    // Reads the folder's names; gives up, leaving the listing empty and not
    // loaded, when there are more than maxNames of them.
    void load(Listing &listing, size_t maxNames = SIZE_MAX);
    bool shouldLoad(Listing &listing);

    std::string m_path;
    int m_fd = -1;
    Listing *m_listing = nullptr;
    // The last name found in the listing, so that noting it gone needs no
    // second look-up (listings never grow after loading: the entry stays put).
    const char *m_lastName = nullptr;
    uint32_t m_lastHit = 0;
    std::unordered_map<std::string, Listing> m_listings;
    std::string m_announcedPath;
    int m_announcedCount = 0; // entries announced for m_announcedPath
    int m_expectedHere = 0;   // entries announced for the current folder
};

} // namespace quillbay
