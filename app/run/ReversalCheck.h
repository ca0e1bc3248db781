#pragma once
// Whether the items a run renamed still carry the names it gave them, checked
// before their reversal is offered.
//
// The entries of a report are looked at newest first, as the reversal carries
// them out. Where an entry's item is now is not always where its entry says:
// a folder renamed later in the run holds the entries inside it under its new
// name, and an item renamed twice (a cycle broken by a temporary name) is
// found under its last name. The check follows both, in report paths, and
// compares what is found with the identity the run recorded (ItemIdentity).
//
// A report holds hundreds of thousands of entries: names are kept as the
// report's own text (which must outlive the check), folders once each, and
// where each item went in a compact hash index.

#include "base/HashIndex.h"
#include "run/ClearedReason.h"
#include "run/FolderCursor.h"
#include "run/ItemIdentity.h"

#include <deque>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace quillbay {

class ReversalCheck
{
public:
    // An entry the run renamed from name to newName in folder (as the report
    // gives them), newest first. None when the reversal may go ahead: the
    // item is the one recorded, or no identity was recorded. Refused for a
    // folder or a name that could reach beyond the entry's folder.
    ClearedReason check(const char *folder, const char *name, const char *newName, bool folderEntry,
                        const std::optional<ItemIdentity> &identity);

private:
    // Where an item is on disk: a folder kept by this object, and a name.
    struct Location {
        const std::string *folder = nullptr;
        const char *name = nullptr; // the report's text
    };
    // An item that was under name in a report folder at some point of the
    // run, and where it is now.
    struct Moved {
        int folderId;
        const char *name;
        Location now;
    };

    int reportFolderId(const char *folder);
    const std::string *diskFolderOf(int folderId);
    const std::string *keep(std::string folder);
    // The item last under name in the report folder, if the run moved it on.
    Moved *movedFrom(int folderId, const char *name);
    void noteMoved(int folderId, const char *name, const Location &now);
    IdentityMatch lookAt(const Location &at, const ItemIdentity &identity);

    std::unordered_map<std::string, int> m_folderIds;
    std::vector<std::string> m_reportFolders; // by id
    std::string m_lastFolderText;
    int m_lastFolderId = -1;
    // Report folder -> where it is now, for the folders the run renamed.
    std::unordered_map<std::string, std::string> m_movedFolders;
    int m_resolvedId = -1;
    const std::string *m_resolved = nullptr;
    std::deque<std::string> m_diskFolders;
    std::unordered_map<std::string, const std::string *> m_diskFolderIndex;
    std::vector<Moved> m_moved;
    HashIndex m_movedIndex;
    FolderCursor m_cursor; // the folder last looked in, held open
};

} // namespace quillbay
