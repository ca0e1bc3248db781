#pragma once
// Opening a file for reading so that, when it fails, the system's reason is
// kept (Error::fromErrno), to be told to the user in their language.

#include "base/Result.h"

#include <QString>

namespace quillbay {

// A descriptor open for reading (close-on-exec), which the caller closes; or
// the system's error. A folder is refused with EISDIR, since reading it would
// only fail later and less clearly.
Result<int> openForReading(const QString &path);

} // namespace quillbay
