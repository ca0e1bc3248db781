#include "metadata/ByteStreamReader.h"

#include "metadata/RegularFile.h"

#include "base/FileIo.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillbay {

ByteStreamReader::~ByteStreamReader()
{
    close();
}

bool ByteStreamReader::setReadMode(bool readMode)
{
    if (m_isOpen)
        return false;
    m_readMode = readMode;
    return true;
}

bool ByteStreamReader::open(const QString &path, bool deleteExisting)
{
    if (m_isOpen)
        return false;
    if (m_readMode) {
        m_fd = openRegularFileForReading(path);
        struct stat st {};
        if (m_fd < 0 || ::fstat(m_fd, &st) != 0) {
            close();
            return false;
        }
        m_size = st.st_size;
    } else {
        if (path.isEmpty())
            return false;
        if (deleteExisting)
            QFile::remove(path);
        const QByteArray name = QFile::encodeName(path);
        do {
            m_fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOCTTY, 0666);
        } while (m_fd < 0 && errno == EINTR);
        if (m_fd < 0)
            return false;
        m_size = 0;
        m_pendingStart = 0;
        m_pending.clear();
        m_writeFailed = false;
    }
    m_isOpen = true;
    m_inMemory = false;
    m_position = 0;
    m_buffer.clear();
    m_bufferStart = 0;
    return true;
}

bool ByteStreamReader::openBytes(const QByteArray &bytes)
{
    if (m_isOpen || !m_readMode)
        return false;
    m_buffer = bytes;
    m_bufferStart = 0;
    m_size = bytes.size();
    m_position = 0;
    m_inMemory = true;
    m_isOpen = true;
    return true;
}

bool ByteStreamReader::loadBlockAt(qint64 position)
{
    if (m_inMemory || m_fd < 0)
        return false;
    const qint64 start = position - position % BlockSize;
    const qint64 length = qMin(BlockSize, m_size - start);
    if (length <= 0)
        return false;
    m_buffer.resize(length);
    // A file that shrank since it was opened ends where the data ends; a read
    // that fails ends it there too.
    const qint64 done = readAt(m_fd, m_buffer.data(), size_t(length), start);
    m_buffer.truncate(done);
    m_bufferStart = start;
    return position < start + done;
}

bool ByteStreamReader::readByteAt(quint8 &byte, qint64 position, qint64 &newPosition)
{
    if (!m_isOpen || !m_readMode || position < 0 || position >= m_size)
        return false;
    const bool buffered = position >= m_bufferStart && position < m_bufferStart + m_buffer.size();
    if (!buffered && !loadBlockAt(position))
        return false;
    byte = quint8(m_buffer.at(position - m_bufferStart));
    m_position = position + 1;
    newPosition = m_position;
    return true;
}

bool ByteStreamReader::readByte(quint8 &byte)
{
    qint64 unused = 0;
    return readByteAt(byte, m_position, unused);
}

bool ByteStreamReader::readBlock(QByteArray &block)
{
    if (!m_isOpen || !m_readMode)
        return false;
    for (qsizetype i = 0; i < block.size(); ++i) {
        quint8 byte = 0;
        if (!readByte(byte))
            return false;
        block[i] = char(byte);
    }
    return true;
}

bool ByteStreamReader::writeBlock(quint8 byte)
{
    return writeBlock(QByteArray(1, char(byte)));
}

bool ByteStreamReader::writeBlock(const QByteArray &bytes)
{
    if (!m_isOpen || m_readMode || m_writeFailed)
        return false;
    if (m_pending.isEmpty())
        m_pendingStart = m_position;
    m_pending.append(bytes);
    m_position += bytes.size();
    m_size = qMax(m_size, m_position);
    if (m_pending.size() >= BlockSize)
        return flushWrites();
    return true;
}

bool ByteStreamReader::flushWrites()
{
    if (writeAll(m_fd, m_pending.constData(), size_t(m_pending.size()), m_pendingStart) != 0) {
        m_writeFailed = true;
        return false;
    }
    m_pending.clear();
    return true;
}

bool ByteStreamReader::atEnd() const
{
    return !m_isOpen || m_position >= m_size;
}

bool ByteStreamReader::close()
{
    bool ok = true;
    if (m_isOpen && !m_readMode && !m_pending.isEmpty())
        ok = flushWrites();
    if (m_fd >= 0) {
        if (::close(m_fd) != 0 && !m_readMode)
            ok = false;
        m_fd = -1;
    }
    ok = ok && !m_writeFailed;
    m_isOpen = false;
    m_inMemory = false;
    m_buffer.clear();
    m_pending.clear();
    m_position = 0;
    m_size = 0;
    m_writeFailed = false;
    return ok;
}

} // namespace quillbay
