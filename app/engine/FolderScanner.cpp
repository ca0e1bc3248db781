#include "engine/FolderScanner.h"

#include "base/Utf8Text.h"

#include <QFile>
#include <QUtf8StringView>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillbay {

namespace {
struct DirCloser {
    DIR *dir;
    ~DirCloser()
    {
        if (dir)
            ::closedir(dir);
    }
};

qint64 modifiedMSecsOf(const struct stat &st)
{
    return qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000;
}

bool isDot(const char *n)
{
    return n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0));
}
} // namespace

FolderScan scanFolder(const QString &path)
{
    FolderScan scan;
    DirCloser d{::opendir(QFile::encodeName(path).constData())};
    if (!d.dir) {
        scan.errorNumber = errno;
        return scan;
    }
    const int dirFd = ::dirfd(d.dir);
    for (;;) {
        errno = 0;
        const dirent *e = ::readdir(d.dir);
        if (!e) {
            if (errno != 0) {
                scan.errorNumber = errno;
                return scan;
            }
            break;
        }
        if (isDot(e->d_name))
            continue;
        const QUtf8StringView raw(e->d_name);
        if (!raw.isValidUtf8()) {
            if (scan.undecodableNames++ < FolderScan::kNamedUndecodable)
                scan.undecodable.append(QByteArray(raw.data(), raw.size()));
            continue;
        }
        bool isFolder = e->d_type == DT_DIR;
        if (e->d_type == DT_UNKNOWN) {
            struct stat st;
            if (::fstatat(dirFd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
                continue; // vanished while we listed
            isFolder = S_ISDIR(st.st_mode);
        }
        if (isFolder)
            scan.folders.append(ScannedEntry{textFromUtf8(QByteArrayView(raw.data(), raw.size())), true});
        else
            scan.files.appendUtf8(raw);
    }
    scan.ok = true;
    return scan;
}

std::optional<qint64> lastModifiedMSecs(const QString &path)
{
    struct stat st;
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return std::nullopt;
    return modifiedMSecsOf(st);
}

FolderHandle::~FolderHandle()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

std::optional<qint64> FolderHandle::lastModifiedMSecs(const QString &name)
{
    if (!m_opened) {
        m_opened = true;
        m_fd = ::open(QFile::encodeName(m_path).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    }
    if (m_fd < 0)
        return quillbay::lastModifiedMSecs(joinPath(m_path, name));
    struct stat st;
    if (::fstatat(m_fd, QFile::encodeName(name).constData(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return std::nullopt;
    return modifiedMSecsOf(st);
}

bool folderExists(const QString &path)
{
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool fileExists(const QString &path)
{
    struct stat st;
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && !S_ISDIR(st.st_mode);
}

QString joinPath(const QString &folder, const QString &name)
{
    if (folder.endsWith(u'/'))
        return folder + name;
    return folder + u'/' + name;
}

} // namespace quillbay
