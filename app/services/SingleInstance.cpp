#include "services/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace quillbay {

SingleInstance::~SingleInstance()
{
    if (m_fd >= 0)
        ::close(m_fd); // closing the last descriptor releases the lock
}

QString SingleInstance::runtimeLockFile()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime) && QFileInfo(runtime).isDir())
        return QDir(runtime).filePath(QStringLiteral("Tolvane-Quillbay.lock"));
    return {};
}

QString SingleInstance::dataFolderLockFile(const QString &dataFolder)
{
    return QDir(dataFolder).filePath(QStringLiteral("Quillbay.lock"));
}

SingleInstance::Outcome SingleInstance::acquire(const QString &lockFilePath)
{
    if (m_fd >= 0)
        return Outcome::Acquired;
    QDir().mkpath(QFileInfo(lockFilePath).absolutePath());
    // Close-on-exec: a program started from here (a browser, a file manager)
    // must not inherit the descriptor and keep the lock after we end.
    const int fd = ::open(QFile::encodeName(lockFilePath).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        m_errorText = QString::fromLocal8Bit(std::strerror(errno));
        return Outcome::Unavailable;
    }
    int result;
    do {
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        const int err = errno;
        ::close(fd);
        if (err == EWOULDBLOCK)
            return Outcome::AnotherInstance;
        m_errorText = QString::fromLocal8Bit(std::strerror(err));
        return Outcome::Unavailable;
    }
    m_fd = fd;
    return Outcome::Acquired;
}

} // namespace quillbay
