#pragma once
// The floor every measurement is compared with: what the system itself needs
// for the same work, with nothing of ours around it.

#include <string>
#include <vector>

namespace bench {

// A rename inside one folder; folder indexes RenameList::folders.
struct RenamePair {
    int folder = 0;
    std::string from;
    std::string to;
};

struct RenameList {
    std::vector<std::string> folders; // absolute paths
    std::vector<RenamePair> pairs;    // grouped by folder, in the order to carry out
};

// readdir over every folder below root, lstat (fstatat without following
// links) of every entry, recursion into child folders. Returns the number of
// entries seen, or -1 when a folder cannot be read.
long walkFloor(const std::string &root);

// One renameat2(RENAME_NOREPLACE) per pair, each folder opened once. Returns
// the number of renames that failed.
long renameFloor(const RenameList &list);

} // namespace bench
