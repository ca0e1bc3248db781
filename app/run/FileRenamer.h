#pragma once
// The system layer of a rename run: renames inside one folder that can never
// replace anything, and the small file-system questions the run asks.
//
// Names are the raw bytes the file system sees (UTF-8 on this platform); a
// folder is addressed by an open directory descriptor so that one lookup of its
// path serves every entry in it. Every call answers with an errno value, 0 for
// success; nothing here throws or prints.

#include <QByteArray>
#include <sys/stat.h>
#include <sys/types.h>

namespace quillbay {

enum class ItemKind { Missing, File, Folder };

class FileRenamer
{
public:
    // Renames from to to inside the folder dirFd. Never replaces an existing
    // file or folder: the kernel's no-replace rename where the file system
    // supports it; elsewhere a hard link and an unlink for files (atomic as
    // well), and for folders, and for files on file systems without hard links,
    // a check right before a plain rename. That last fallback leaves a window of
    // a few microseconds in which a name created by another program could be
    // replaced; no portable call closes it on such file systems.
    // A move to another device is refused with EXDEV, never copied.
    static int renameNoReplace(int dirFd, const char *from, const char *to);
    // The same between two folders of one file system.
    static int moveNoReplace(int fromDir, const char *from, int toDir, const char *to);

    // What the name is, without following a symbolic link (a link counts as a
    // file, and renaming it renames the link itself); its status, as lstat
    // gives it, in status when asked for and the name is there.
    static ItemKind kindOf(int dirFd, const char *name, int *error = nullptr, struct stat *status = nullptr);

    // True when to already names the item from: the same inode, or, on a file
    // system that ignores letter case and gives no stable inode numbers, a name
    // that matches from without regard to case while the folder lists no entry
    // spelled exactly like to.
    static bool namesSameItem(int dirFd, const char *from, const char *to);

    // True when the folder lists an entry spelled exactly like name (byte for byte).
    static bool listsExactName(int dirFd, const char *name);

    // A fresh name for an entry to pass through between two renames; hidden,
    // random, and so almost surely free (the rename onto it checks anyway).
    static QByteArray passingName();

    // Opens a folder as a directory descriptor for the *at calls (-1 and errno on failure).
    static int openFolder(const QByteArray &path, int *error);
};

} // namespace quillbay
