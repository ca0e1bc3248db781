#pragma once
// The folder a rename run is working in, held open.
//
// Entries of one folder follow each other in a run, so the folder's path is
// looked up once, not once per entry; each entry is then looked at with one
// lstat of its own name in that folder, which tells both whether it is there
// and what identifies it (see ItemIdentity).

#include "run/FileRenamer.h"

#include <string>
#include <sys/stat.h>

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
    // What name is in the current folder, with its status (as lstat gives it)
    // in st when it is there.
    ItemKind kindOf(const char *name, struct stat &st);
    // After a folder was renamed, every path held may name something else.
    void forgetAll();

private:
    std::string m_path;
    int m_fd = -1;
};

} // namespace quillbay
