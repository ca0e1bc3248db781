#include "run/FileRenamer.h"

#include "base/Utf8Text.h"

#include <QString>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace quillbay {

namespace {

constexpr unsigned int kRenameNoReplace = 1; // RENAME_NOREPLACE of the kernel interface

int noReplaceSyscall(int fromDir, const char *from, int toDir, const char *to)
{
    // Called through syscall() so that the program does not depend on a C
    // library new enough to wrap renameat2.
    if (::syscall(SYS_renameat2, fromDir, from, toDir, to, kRenameNoReplace) == 0)
        return 0;
    return errno;
}

// A rename that refuses when to exists, checked right before the rename. Used
// only where the file system has neither the no-replace rename nor hard links.
int checkedPlainRename(int fromDir, const char *from, int toDir, const char *to)
{
    struct stat st;
    if (::fstatat(toDir, to, &st, AT_SYMLINK_NOFOLLOW) == 0)
        return EEXIST;
    if (errno != ENOENT)
        return errno;
    if (::renameat(fromDir, from, toDir, to) == 0)
        return 0;
    return errno;
}

int linkThenUnlink(int fromDir, const char *from, int toDir, const char *to)
{
    if (::linkat(fromDir, from, toDir, to, 0) != 0)
        return errno;
    if (::unlinkat(fromDir, from, 0) == 0)
        return 0;
    const int err = errno;
    // Leave things as they were: the file keeps only its old name.
    ::unlinkat(toDir, to, 0);
    return err;
}

bool linkUnsupported(int err)
{
    return err == EPERM || err == EOPNOTSUPP || err == ENOSYS || err == EMLINK || err == EINVAL;
}

} // namespace

int FileRenamer::renameNoReplace(int dirFd, const char *from, const char *to)
{
    return moveNoReplace(dirFd, from, dirFd, to);
}

int FileRenamer::moveNoReplace(int fromDir, const char *from, int toDir, const char *to)
{
    const int err = noReplaceSyscall(fromDir, from, toDir, to);
    if (err != EINVAL && err != ENOSYS)
        return err;
    // The file system does not know the flag (or the name is bad, which the
    // fallbacks below find out for themselves).
    const ItemKind kind = kindOf(fromDir, from);
    if (kind == ItemKind::Missing)
        return ENOENT;
    if (kind == ItemKind::File) {
        const int linkErr = linkThenUnlink(fromDir, from, toDir, to);
        if (!linkUnsupported(linkErr))
            return linkErr;
    }
    return checkedPlainRename(fromDir, from, toDir, to);
}

ItemKind FileRenamer::kindOf(int dirFd, const char *name, int *error, struct stat *status)
{
    struct stat own;
    struct stat &st = status ? *status : own;
    if (::fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
        if (error)
            *error = errno;
        return ItemKind::Missing;
    }
    if (error)
        *error = 0;
    return S_ISDIR(st.st_mode) ? ItemKind::Folder : ItemKind::File;
}

bool FileRenamer::namesSameItem(int dirFd, const char *from, const char *to)
{
    struct stat a;
    struct stat b;
    if (::fstatat(dirFd, from, &a, AT_SYMLINK_NOFOLLOW) != 0 || ::fstatat(dirFd, to, &b, AT_SYMLINK_NOFOLLOW) != 0)
        return false;
    if (a.st_dev == b.st_dev && a.st_ino == b.st_ino)
        return true;
    // Some file systems (FAT through FUSE, for one) hand out a new inode number
    // for every spelling of a name. There, a name that differs only in case and
    // is not itself listed can only be the other spelling of the same entry.
    if (a.st_dev != b.st_dev)
        return false;
    const QString f = textFromUtf8(from);
    const QString t = textFromUtf8(to);
    if (f.compare(t, Qt::CaseInsensitive) != 0)
        return false;
    return !listsExactName(dirFd, to);
}

bool FileRenamer::listsExactName(int dirFd, const char *name)
{
    const int fd = ::openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return true; // cannot tell: assume the name is taken
    DIR *dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return true;
    }
    bool found = false;
    while (const dirent *e = ::readdir(dir)) {
        if (std::strcmp(e->d_name, name) == 0) {
            found = true;
            break;
        }
    }
    ::closedir(dir);
    return found;
}

QByteArray FileRenamer::passingName()
{
    static thread_local std::mt19937_64 random(std::random_device{}());
    char name[40];
    std::snprintf(name, sizeof name, ".quillbay-%016llx.tmp", static_cast<unsigned long long>(random()));
    return QByteArray(name);
}

int FileRenamer::openFolder(const QByteArray &path, int *error)
{
    const int fd = ::open(path.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    *error = fd < 0 ? errno : 0;
    return fd;
}

} // namespace quillbay
