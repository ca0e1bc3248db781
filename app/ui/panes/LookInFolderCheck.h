#pragma once
// Whether a path may become a Look-in folder. A file stands for the folder
// that holds it. Refused, each with its message: a path that names nothing
// (942, "The folder is not found."), a folder on a network file system (941),
// and the system's own folders and everything below them (940, naming the
// refused system folder). A path through a symbolic link is checked where the
// link leads; the folder is added under the name it was given.

#include "services/MountTable.h"

#include <QString>

namespace quillbay {

struct LookInCheck {
    bool accepted = false;
    QString folder;    // the folder to add (a file's folder), when accepted
    int messageId = 0; // the refusal's message, when not accepted
    QString message;   // its text, placeholders filled
};

// mountTable: the file the mount table is read from (tests give a captured one).
LookInCheck ValidateLookInFolder(const QString &path,
                                 const QString &mountTable = QString::fromLatin1(kProcessMountTable));

// The system folder that path (absolute, links resolved) lies in or below,
// compared by whole path components: "/", "/bin", "/boot", "/dev", "/etc",
// "/lib*", "/proc", "/run", "/sbin", "/sys", "/usr" or "/var". Empty when
// none does.
QString systemFolderOf(const QString &path);

} // namespace quillbay
