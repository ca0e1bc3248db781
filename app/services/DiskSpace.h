#pragma once
// Free space on the file systems the program writes to.

#include <QString>
#include <optional>

namespace quillbay {

// The program does not start with less than this many bytes free where it
// keeps its files: a rename run must always be able to write its report.
inline constexpr qint64 kMinimumFreeBytes = 10000000;

// Bytes available to an unprivileged user on the file system that holds path
// (the nearest existing folder above it when path does not exist yet); no
// value when the system cannot tell.
std::optional<qint64> freeBytes(const QString &path);

inline bool enoughFreeSpace(qint64 available)
{
    return available >= kMinimumFreeBytes;
}

} // namespace quillbay
