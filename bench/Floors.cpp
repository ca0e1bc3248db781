#include "Floors.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace bench {

namespace {

long walkFolder(int dirFd)
{
    DIR *dir = ::fdopendir(dirFd);
    if (!dir) {
        ::close(dirFd);
        return -1;
    }
    long seen = 0;
    long sizes = 0;
    while (const dirent *e = ::readdir(dir)) {
        if (e->d_name[0] == '.' && (e->d_name[1] == 0 || (e->d_name[1] == '.' && e->d_name[2] == 0)))
            continue;
        struct stat st;
        if (::fstatat(dirFd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        ++seen;
        sizes += long(st.st_size);
        if (S_ISDIR(st.st_mode)) {
            const int child = ::openat(dirFd, e->d_name, O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
            const long below = child < 0 ? -1 : walkFolder(child);
            if (below < 0) {
                ::closedir(dir);
                return -1;
            }
            seen += below;
        }
    }
    ::closedir(dir);
    return sizes < 0 ? -1 : seen; // sizes keeps the lstat from being optimized away
}

} // namespace

long walkFloor(const std::string &root)
{
    const int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    return fd < 0 ? -1 : walkFolder(fd);
}

long renameFloor(const RenameList &list)
{
    constexpr unsigned kNoReplace = 1; // RENAME_NOREPLACE
    long failed = 0;
    int current = -1;
    int fd = -1;
    for (const RenamePair &p : list.pairs) {
        if (p.folder != current) {
            if (fd >= 0)
                ::close(fd);
            current = p.folder;
            fd = ::open(list.folders[size_t(p.folder)].c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        }
        if (fd < 0 || ::syscall(SYS_renameat2, fd, p.from.c_str(), fd, p.to.c_str(), kNoReplace) != 0)
            ++failed;
    }
    if (fd >= 0)
        ::close(fd);
    return failed;
}

} // namespace bench
