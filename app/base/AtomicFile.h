#pragma once
// Writing files so that a reader never sees half of one: the bytes go to a new
// file beside the target, are flushed to disk, and only then take the target's
// name. Also the small pieces this is made of, which the report store shares.

#include "base/FileIo.h"
#include "base/Result.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace quillbay {

inline int writeAll(int fd, const QByteArray &bytes)
{
    return writeAll(fd, bytes.constData(), std::size_t(bytes.size()));
}

// Creates a new file named prefix followed by six random characters, opened
// for writing (close-on-exec), and puts its path into path. The file gets the
// permissions of any new file (0666 less the process's umask, applied by the
// kernel), not the 0600 of mkstemp. -1 with errno set when no file could be made.
int createTemporaryFile(const QByteArray &prefix, QByteArray &path);

// Writes bytes to path without ever leaving a half-written file: the bytes go
// to a temporary file in the same folder, are flushed to disk and then renamed
// over path. On failure the old file is untouched and the error carries the
// system's error number and its description.
Result<void> writeFileAtomically(const QString &path, const QByteArray &bytes);

} // namespace quillbay
