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

ReportStore::Outcome failed(int err)
{
    ReportStore::Outcome o;
    o.errorNumber = err;
    o.errorText = QString::fromLocal8Bit(std::strerror(err));
    return o;
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

ReportStore::Outcome ReportStore::moveToFreeName(int fromDir, const QByteArray &from, int toDir, const QString &toFolder,
                                                 const QString &stem, const QString &suffix)
{
    int err = EEXIST;
    for (int n = 1; n <= kMaxVariants && err == EEXIST; ++n) {
        const QString name = variantName(stem, suffix, n);
        err = FileRenamer::moveNoReplace(fromDir, from.constData(), toDir, QFile::encodeName(name).constData());
        if (err == 0) {
            Outcome o;
            o.ok = true;
            o.path = QDir(toFolder).filePath(name);
            return o;
        }
    }
    return failed(err);
}

ReportStore::Outcome ReportStore::saveNew(const QString &folder, const QString &stem, const QString &suffix,
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

ReportStore::Outcome ReportStore::saveNew(const QString &folder, const QString &stem, const QString &suffix,
                                          const std::function<bool(int fd)> &writeContent)
{
    int err = 0;
    // Opened for reading, not as a bare path, so that it can be flushed below.
    const int dirFd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0)
        return failed(errno);
    QByteArray tmpl;
    const int fd = createTemporaryFile(QFile::encodeName(folder) + "/.report-", tmpl);
    if (fd < 0) {
        err = errno;
        ::close(dirFd);
        return failed(err);
    }
    const bool written = writeContent(fd) && ::fsync(fd) == 0;
    err = written ? 0 : errno;
    if (::close(fd) != 0 && written)
        err = errno;
    Outcome o;
    if (err == 0) {
        const QByteArray tmpName = tmpl.mid(tmpl.lastIndexOf('/') + 1);
        o = moveToFreeName(dirFd, tmpName, dirFd, folder, stem, suffix);
    } else {
        o = failed(err);
    }
    if (!o.ok)
        ::unlink(tmpl.constData());
    else
        ::fsync(dirFd); // the new name itself must survive a power cut
    ::close(dirFd);
    return o;
}

} // namespace quillbay
