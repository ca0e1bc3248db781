#include "run/TemporaryName.h"

#include <QFile>
#include <cerrno>
#include <sys/stat.h>

namespace quillbay {

TemporaryNameSource::TemporaryNameSource() : m_random(std::random_device{}()) {}

TemporaryNameSource::TemporaryNameSource(quint32 seedValue) : m_random(seedValue) {}

QString TemporaryNameSource::formatName(quint32 first, quint32 second)
{
    const QString digits =
        QStringLiteral("000000") + QString::number(first, 16).toUpper() + QString::number(second, 16).toUpper();
    return digits.right(8) + QStringLiteral(".TMP");
}

std::optional<TemporaryNameSource::Result> TemporaryNameSource::MakeTemporaryName(const QString &folder, int attempts)
{
    std::uniform_int_distribution<quint32> draw(0, 65535);
    for (int i = 0; i < attempts; ++i) {
        const quint32 first = draw(m_random);
        const quint32 second = draw(m_random);
        Result r;
        r.name = formatName(first, second);
        r.fullPath = folder.endsWith(u'/') ? folder + r.name : folder + u'/' + r.name;
        // Anything already there under that name (a file, a folder, a link)
        // makes the name unusable: a rename onto it could only fail.
        struct stat st;
        if (::lstat(QFile::encodeName(r.fullPath).constData(), &st) != 0 && errno == ENOENT)
            return r;
    }
    return std::nullopt;
}

} // namespace quillbay
