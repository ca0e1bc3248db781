#include "services/DiskSpace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <limits>
#include <sys/statvfs.h>

namespace quillbay {

static QString nearestExisting(const QString &path)
{
    QString current = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    while (!QFileInfo::exists(current)) {
        const QString parent = QFileInfo(current).absolutePath();
        if (parent == current)
            break;
        current = parent;
    }
    return current;
}

std::optional<qint64> freeBytes(const QString &path)
{
    struct statvfs info {};
    if (::statvfs(QFile::encodeName(nearestExisting(path)).constData(), &info) != 0)
        return std::nullopt;
    const unsigned long long bytes = static_cast<unsigned long long>(info.f_bavail) * info.f_frsize;
    const auto limit = static_cast<unsigned long long>(std::numeric_limits<qint64>::max());
    return static_cast<qint64>(bytes > limit ? limit : bytes);
}

} // namespace quillbay
