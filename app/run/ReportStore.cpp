#include "run/ReportStore.h"

#include "run/FileRenamer.h"

#include "base/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillbay {

namespace {

constexpr int kMaxVariants = 10000;

constexpr const char *kSavePrefix = ".report-";
// Longer than any save takes from creating its file to locking it.
constexpr time_t kLockGraceSeconds = 60;

// The process id in ".report-<pid>-XXXXXX"; 0 when the name holds none (a
// save of an earlier version of the program).
pid_t writerOf(const char *name)
{
    const char *digits = name + std::strlen(kSavePrefix);
    pid_t pid = 0;
    const auto [rest, error] = std::from_chars(digits, digits + std::strlen(digits), pid);
    return error == std::errc() && *rest == '-' && pid > 0 ? pid : 0;
}

bool processRuns(pid_t pid)
{
    return ::kill(pid, 0) == 0 || errno == EPERM;
}

// Removes the temporary file of a save whose writer is gone. A writer holds
// its lock from a moment after creating the file until the file has its
// report name; in that first moment only its running process, or the file's
// youth, tells that it is alive.
bool removeIfAbandoned(int dirFd, const char *name)
{
    const int fd = ::openat(dirFd, name, O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat held;
    struct stat named;
    bool abandoned = ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &held) == 0 && S_ISREG(held.st_mode);
    if (abandoned) {
        const pid_t writer = writerOf(name);
        const bool young = ::time(nullptr) - held.st_mtim.tv_sec < kLockGraceSeconds;
        abandoned = !young || (writer != 0 && !processRuns(writer));
    }
    // The name must still be the file locked here (not moved on by its writer).
    abandoned = abandoned && ::fstatat(dirFd, name, &named, AT_SYMLINK_NOFOLLOW) == 0 && named.st_ino == held.st_ino
        && named.st_dev == held.st_dev && ::unlinkat(dirFd, name, 0) == 0;
    ::close(fd);
    return abandoned;
}

QString variantName(const QString &stem, const QString &suffix, int n)
{
    if (n == 1)
        return stem + suffix;
    return stem + QStringLiteral(" (") + QString::number(n) + u')' + suffix;
}

} // namespace

QString ReportStore::dateText(const QDateTime &time)
{
    return time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString ReportStore::fileStem(const QDateTime &time)
{
    return time.toString(QStringLiteral("yyyy-MM-dd HHmmss"));
}

Result<QString> ReportStore::moveToFreeName(int fromDir, const QByteArray &from, int toDir, const QString &toFolder,
                                            const QString &stem, const QString &suffix)
{
    int err = EEXIST;
    for (int n = 1; n <= kMaxVariants && err == EEXIST; ++n) {
        const QString name = variantName(stem, suffix, n);
        err = FileRenamer::moveNoReplace(fromDir, from.constData(), toDir, QFile::encodeName(name).constData());
        if (err == 0)
            return QDir(toFolder).filePath(name);
    }
    return Error::fromErrno(err);
}

Result<QString> ReportStore::saveNew(const QString &folder, const QString &stem, const QString &suffix,
                                     const QByteArray &bytes)
{
    return saveNew(folder, stem, suffix, [&bytes](int fd) {
        if (const int err = writeAll(fd, bytes)) {
            errno = err;
            return false;
        }
        return true;
    });
}

Result<QString> ReportStore::saveNew(const QString &folder, const QString &stem, const QString &suffix,
                                     const std::function<bool(int fd)> &writeContent)
{
    // Opened for reading, not as a bare path, so that it can be flushed below.
    const int dirFd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0)
        return Error::fromErrno(errno);
    QByteArray tmpl;
    const int fd =
        createTemporaryFile(QFile::encodeName(folder) + '/' + kSavePrefix + QByteArray::number(::getpid()) + '-', tmpl);
    if (fd < 0) {
        const int err = errno;
        ::close(dirFd);
        return Error::fromErrno(err);
    }
    // Held until the file has its report name (the descriptor is closed only
    // after the move): see removeAbandonedSaves.
    ::flock(fd, LOCK_EX);
    const bool written = writeContent(fd) && ::fsync(fd) == 0;
    Result<QString> o = written
        ? moveToFreeName(dirFd, tmpl.mid(tmpl.lastIndexOf('/') + 1), dirFd, folder, stem, suffix)
        : Result<QString>(Error::fromErrno(errno));
    if (!o)
        ::unlink(tmpl.constData());
    else
        ::fsync(dirFd); // the new name itself must survive a power cut
    ::close(fd);
    ::close(dirFd);
    return o;
}

int ReportStore::removeAbandonedSaves(const QString &folder)
{
    const int dirFd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0)
        return 0;
    DIR *dir = ::fdopendir(dirFd);
    if (!dir) {
        ::close(dirFd);
        return 0;
    }
    int removed = 0;
    while (const dirent *e = ::readdir(dir)) {
        if (std::strncmp(e->d_name, kSavePrefix, std::strlen(kSavePrefix)) == 0 && removeIfAbandoned(dirFd, e->d_name))
            ++removed;
    }
    ::closedir(dir);
    return removed;
}

} // namespace quillbay
