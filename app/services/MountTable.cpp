#include "services/MountTable.h"

#include <QFile>
#include <QSet>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace quillbay {

namespace {

// mountinfo writes a space, tab, newline and backslash of a path as a
// backslash and three octal digits.
QString unescaped(const QByteArray &field)
{
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const char c = field[i];
        if (c == '\\' && i + 3 < field.size()) {
            const QByteArray digits = field.mid(i + 1, 3);
            bool ok = false;
            const int code = digits.toInt(&ok, 8);
            if (ok && digits.size() == 3) {
                out.append(char(code));
                i += 3;
                continue;
            }
        }
        out.append(c);
    }
    return QString::fromUtf8(out);
}

// FUSE file systems that reach another machine, by their subtype.
const QSet<QString> &networkFuseTypes()
{
    static const QSet<QString> types{
        QStringLiteral("sshfs"),     QStringLiteral("rclone"),     QStringLiteral("s3fs"),
        QStringLiteral("gcsfuse"),   QStringLiteral("gvfsd-fuse"), QStringLiteral("glusterfs"),
        QStringLiteral("ceph-fuse"), QStringLiteral("curlftpfs"),  QStringLiteral("smbnetfs"),
        QStringLiteral("davfs"),     QStringLiteral("davfs2"),     QStringLiteral("afpfs"),
        QStringLiteral("goofys"),    QStringLiteral("blobfuse"),   QStringLiteral("blobfuse2"),
    };
    return types;
}

const QSet<QString> &networkTypes()
{
    static const QSet<QString> types{
        QStringLiteral("nfs"),   QStringLiteral("nfs4"),     QStringLiteral("cifs"),      QStringLiteral("smb3"),
        QStringLiteral("smbfs"), QStringLiteral("ncpfs"),    QStringLiteral("afs"),       QStringLiteral("coda"),
        QStringLiteral("ceph"),  QStringLiteral("davfs"),    QStringLiteral("glusterfs"), QStringLiteral("lustre"),
        QStringLiteral("ocfs2"), QStringLiteral("orangefs"), QStringLiteral("beegfs"),
    };
    return types;
}

// "host:/path", "user@host:", "remote:bucket" or an address with a scheme.
bool sourceNamesAHost(const QString &source)
{
    if (source.contains(QLatin1String("://")) || source.startsWith(QLatin1String("//")))
        return true;
    const qsizetype colon = source.indexOf(u':');
    return colon > 0 && !source.left(colon).contains(u'/');
}

} // namespace

QList<MountEntry> parseMountInfo(const QByteArray &text)
{
    QList<MountEntry> table;
    for (const QByteArray &line : text.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        const qsizetype separator = fields.indexOf("-");
        if (fields.size() < 6 || separator < 6 || separator + 2 >= fields.size())
            continue;
        const QList<QByteArray> device = fields[2].split(':');
        bool majorOk = false;
        bool minorOk = false;
        MountEntry entry;
        if (device.size() == 2) {
            entry.major = device[0].toUInt(&majorOk);
            entry.minor = device[1].toUInt(&minorOk);
        }
        if (!majorOk || !minorOk || !fields[4].startsWith('/'))
            continue;
        entry.mountPoint = unescaped(fields[4]);
        entry.type = unescaped(fields[separator + 1]);
        entry.source = unescaped(fields[separator + 2]);
        table.append(entry);
    }
    return table;
}

bool pathIsAtOrBelow(const QString &path, const QString &folder)
{
    if (folder == QLatin1String("/"))
        return path.startsWith(u'/');
    return path == folder || (path.startsWith(folder) && path.at(folder.size()) == u'/');
}

std::optional<MountEntry> mountOf(const QList<MountEntry> &table, const QString &path,
                                  std::optional<std::pair<unsigned, unsigned>> device)
{
    auto best = [&](bool sameDeviceOnly) {
        std::optional<MountEntry> found;
        for (const MountEntry &entry : table) {
            if (sameDeviceOnly && (entry.major != device->first || entry.minor != device->second))
                continue;
            if (pathIsAtOrBelow(path, entry.mountPoint)
                && (!found || entry.mountPoint.size() >= found->mountPoint.size()))
                found = entry;
        }
        return found;
    };
    if (device) {
        if (std::optional<MountEntry> found = best(true))
            return found;
    }
    return best(false);
}

bool isNetworkFileSystem(const MountEntry &entry)
{
    if (networkTypes().contains(entry.type))
        return true;
    if (entry.type == QLatin1String("fuse") || entry.type.startsWith(QLatin1String("fuse."))) {
        const QString subtype = entry.type.mid(5);
        return networkFuseTypes().contains(subtype) || sourceNamesAHost(entry.source);
    }
    return false;
}

bool folderIsOnNetwork(const QString &canonicalFolder, const QString &mountTable)
{
    QFile file(mountTable);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    std::optional<std::pair<unsigned, unsigned>> device;
    struct stat info {};
    if (::stat(QFile::encodeName(canonicalFolder).constData(), &info) == 0)
        device = std::make_pair(unsigned(major(info.st_dev)), unsigned(minor(info.st_dev)));
    const std::optional<MountEntry> mount = mountOf(parseMountInfo(file.readAll()), canonicalFolder, device);
    return mount && isNetworkFileSystem(*mount);
}

} // namespace quillbay
