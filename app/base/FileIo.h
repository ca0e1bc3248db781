#pragma once
// Whole reads and writes on a file descriptor: the one place that goes on
// after an interrupted or partial system call.

#include <cstddef>
#include <cstdint>

namespace quillbay {

// Writes every byte to fd (at its position, or from offset at when one is
// given). 0, or the error number of the write that failed.
int writeAll(int fd, const char *data, std::size_t size, std::int64_t at = -1);

// Reads up to size bytes from offset at. The number read: fewer than size
// only at the end of the file or when a read fails (errno is then set).
std::int64_t readAt(int fd, char *data, std::size_t size, std::int64_t at);

} // namespace quillbay
