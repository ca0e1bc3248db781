#pragma once

#include <QString>

namespace quillbay {

// Whether a proposed name can be given to a file or folder: 1 to 215 code
// units, not starting with a space, none of * / : < > ? \ |. On Linux it must
// also be representable: no NUL, no unpaired surrogate (it could not be
// written as UTF-8 and the file would get another name than the one shown),
// not "." or "..", and at most 255 bytes as UTF-8, the file systems' limit.
bool IsValidNewName(const QString &name);

} // namespace quillbay
