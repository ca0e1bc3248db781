#include "metadata/Mp3Tag.h"

#include "metadata/LegacyCodePage.h"
#include "metadata/RegularFile.h"

#include "base/FileIo.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace quillbay {
namespace {

constexpr qsizetype TrailerSize = 128;

// Zero characters become spaces, then spaces at the end go; spaces at the
// start and inside stay.
QString fieldText(const QByteArray &trailer, qsizetype offset, qsizetype length, const QByteArray &encoding)
{
    const QByteArrayView bytes(trailer.constData() + offset, length);
    QString text = decodeText(bytes, encoding).value_or(QString::fromLatin1(bytes));
    text.replace(QChar(0), QLatin1Char(' '));
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == QLatin1Char(' '))
        --end;
    text.truncate(end);
    return text;
}

bool readTrailer(int fd, QByteArray &trailer)
{
    struct stat st {};
    if (::fstat(fd, &st) != 0 || st.st_size < TrailerSize)
        return false;
    trailer.resize(TrailerSize);
    return readAt(fd, trailer.data(), size_t(TrailerSize), st.st_size - TrailerSize) == TrailerSize;
}

} // namespace

bool parseMp3Trailer(const QByteArray &trailer, const QByteArray &encoding, Mp3Tag &tag)
{
    if (trailer.size() != TrailerSize || !trailer.startsWith("TAG"))
        return false;
    tag.title = fieldText(trailer, 3, 30, encoding);
    tag.artist = fieldText(trailer, 33, 30, encoding);
    tag.album = fieldText(trailer, 63, 30, encoding);
    tag.year = fieldText(trailer, 93, 4, encoding);
    tag.comment = fieldText(trailer, 97, 30, encoding);
    tag.genre = quint8(trailer.at(127));
    return true;
}

bool readMp3Tag(const QString &path, Mp3Tag &tag)
{
    const int fd = openRegularFileForReading(path);
    if (fd < 0)
        return false;
    QByteArray trailer;
    const bool read = readTrailer(fd, trailer);
    ::close(fd);
    return read && parseMp3Trailer(trailer, userLegacyCodePage(), tag);
}

} // namespace quillbay
