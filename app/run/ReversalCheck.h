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

#include "run/ClearedReason.h"
#include "run/ItemIdentity.h"

#include <optional>
#include <string>
#include <unordered_map>

namespace quillbay {

class ReversalCheck
{
public:
    ReversalCheck() = default;
    ~ReversalCheck();
    ReversalCheck(const ReversalCheck &) = delete;
    ReversalCheck &operator=(const ReversalCheck &) = delete;

    // An entry the run renamed from name to newName in folder (as the report
    // gives them), newest first. None when the reversal may go ahead: the
    // item is the one recorded, or no identity was recorded. Refused for a
    // folder or a name that could reach beyond the entry's folder.
    ClearedReason check(const char *folder, const char *name, const char *newName, bool folderEntry,
                        const std::optional<ItemIdentity> &identity);

private:
    // Where the folder at a report path is now on disk.
    std::string diskFolderOf(const std::string &folder);
    IdentityMatch lookAt(const std::string &diskPath, const ItemIdentity &identity);

    // Report path of an item at some point of the run -> where that item is now.
    std::unordered_map<std::string, std::string> m_moved;
    // The same for folders, which carry the paths inside them along.
    std::unordered_map<std::string, std::string> m_movedFolders;
    std::string m_lastFolder;
    std::string m_lastDiskFolder;
    // The disk folder held open for the look-ups.
    std::string m_openFolder;
    int m_folderFd = -1;
};

} // namespace quillbay
