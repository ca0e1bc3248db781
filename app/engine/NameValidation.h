#pragma once

#include <QString>

namespace quillbay {

// What keeps a proposed name from being given to a file or folder; the first
// problem found, in the order listed.
struct NameProblem {
    enum Kind {
        None,
        Empty,
        TooLong, // more than 215 code units, or more than 255 bytes as UTF-8
        LeadingSpace,
        ForbiddenChar, // one of * / : < > ? \ |
        DotName,       // "." or ".."
        Unstorable,    // NUL or an unpaired surrogate: no file name can hold it
    };
    Kind kind = None;
    qsizetype position = -1; // the offending code unit, for ForbiddenChar and Unstorable
};

// The reason a name cannot be used, or kind None when it can.
NameProblem invalidNameProblem(const QString &name);

// Whether a proposed name can be given to a file or folder: 1 to 215 code
// units, not starting with a space, none of * / : < > ? \ |. On Linux it must
// also be representable: no NUL, no unpaired surrogate (it could not be
// written as UTF-8 and the file would get another name than the one shown),
// not "." or "..", and at most 255 bytes as UTF-8, the file systems' limit.
bool IsValidNewName(const QString &name);

} // namespace quillbay
