#pragma once
// The mount table of this process (/proc/self/mountinfo): which file system
// holds a folder, and whether that file system lies on another machine
// (NFS, SMB/CIFS, SSHFS and the other network file systems, FUSE ones
// included).

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace quillbay {

struct MountEntry {
    unsigned major = 0; // the device of the mounted file system, as stat() reports it
    unsigned minor = 0;
    QString mountPoint; // escapes (\040 for a space ...) undone
    QString type;       // "ext4", "nfs4", "fuse.sshfs" ...
    QString source;     // "/dev/sda1", "server:/export", "user@host:/path" ...
};

// The entries of a mountinfo text in their order; lines that do not have the
// table's shape are skipped.
QList<MountEntry> parseMountInfo(const QByteArray &text);

// Whether path is folder itself or lies below it, compared by whole path
// components ("/usr2" is not below "/usr"). Both are absolute and clean.
bool pathIsAtOrBelow(const QString &path, const QString &folder);

// The mount that holds path (absolute, symbolic links resolved): among the
// entries of the path's device, when it is known and listed, else among all,
// the one whose mount point is the longest that path lies at or below. A
// later entry wins a tie, as it is mounted over the earlier one.
std::optional<MountEntry> mountOf(const QList<MountEntry> &table, const QString &path,
                                  std::optional<std::pair<unsigned, unsigned>> device);

// Whether the file system lies on another machine.
bool isNetworkFileSystem(const MountEntry &entry);

// The mount table of this process.
inline const char *const kProcessMountTable = "/proc/self/mountinfo";

// Reads the mount table (a file in the shape of mountinfo) and answers for an
// existing folder; false when the table cannot be read.
bool folderIsOnNetwork(const QString &canonicalFolder,
                       const QString &mountTable = QString::fromLatin1(kProcessMountTable));

} // namespace quillbay
