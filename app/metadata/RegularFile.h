#pragma once
// Opening a file only when it is an ordinary file. Reading the metadata of a
// named pipe or a device would block or never end, and a folder walk can meet
// both under names like "song.mp3".

#include <QString>

namespace quillbay {

// Opens path read-only when it names a regular file (a symbolic link to one
// counts). Returns the descriptor, or -1 when the path cannot be opened or is
// something else. The caller closes the descriptor.
int openRegularFileForReading(const QString &path);

} // namespace quillbay
