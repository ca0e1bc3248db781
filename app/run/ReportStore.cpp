#include "run/ReportStore.h"

#include "run/FileRenamer.h"

#include "base/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace quillbay {

namespace {

constexpr int kMaxVariants = 10000;

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
    int err = 0;
    // Opened for reading, not as a bare path, so that it can be flushed below.
    const int dirFd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0)
        return Error::fromErrno(errno);
    QByteArray tmpl;
    const int fd = createTemporaryFile(QFile::encodeName(folder) + "/.report-", tmpl);
    if (fd < 0) {
        err = errno;
        ::close(dirFd);
        return Error::fromErrno(err);
    }
    const bool written = writeContent(fd) && ::fsync(fd) == 0;
    err = written ? 0 : errno;
    if (::close(fd) != 0 && written)
        err = errno;
    Result<QString> o = err == 0
        ? moveToFreeName(dirFd, tmpl.mid(tmpl.lastIndexOf('/') + 1), dirFd, folder, stem, suffix)
        : Result<QString>(Error::fromErrno(err));
    if (!o)
        ::unlink(tmpl.constData());
    else
        ::fsync(dirFd); // the new name itself must survive a power cut
    ::close(dirFd);
    return o;
}

} // namespace quillbay
