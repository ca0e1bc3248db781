#include "base/FileIo.h"

#include <cerrno>
#include <unistd.h>

namespace quillbay {

int writeAll(int fd, const char *data, std::size_t size, std::int64_t at)
{
    while (size > 0) {
        const ssize_t n = at < 0 ? ::write(fd, data, size) : ::pwrite(fd, data, size, off_t(at));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return EIO; // a write that makes no progress would repeat for ever
        data += n;
        size -= std::size_t(n);
        if (at >= 0)
            at += n;
    }
    return 0;
}

std::int64_t readAt(int fd, char *data, std::size_t size, std::int64_t at)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd, data + done, size - done, off_t(at + std::int64_t(done)));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (n == 0)
            break; // the end of the file
        done += std::size_t(n);
    }
    return std::int64_t(done);
}

} // namespace quillbay
