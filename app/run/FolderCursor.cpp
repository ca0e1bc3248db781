#include "run/FolderCursor.h"

#include <cstring>
#include <fcntl.h>
#include <string_view>
#include <unistd.h>

namespace quillbay {

FolderCursor::~FolderCursor()
{
    forgetAll();
}

namespace {

// A folder's path without trailing slashes, as folders are told apart here.
std::string_view folderKey(const char *path)
{
    size_t length = std::strlen(path);
    while (length > 1 && path[length - 1] == '/')
        --length;
    return std::string_view(path, length);
}

} // namespace

int FolderCursor::enter(const char *path, int *error)
{
    const std::string_view key = folderKey(path);
    if (m_fd >= 0 && key == m_path) {
        *error = 0;
        return m_fd;
    }
    forgetAll();
    m_fd = FileRenamer::openFolder(QByteArray(key.data(), qsizetype(key.size())), error);
    if (m_fd >= 0)
        m_path.assign(key);
    return m_fd;
}

ItemKind FolderCursor::kindOf(const char *name, struct stat &st)
{
    return FileRenamer::kindOf(m_fd, name, nullptr, &st);
}

void FolderCursor::forgetAll()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_path.clear();
}

} // namespace quillbay
