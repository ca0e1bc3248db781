#pragma once
// Byte-wise access to one file, as the Exif reader walks it: single bytes in
// order or from an absolute position. Reads go through a block buffer, so a
// walk over a file costs one system call per block, not per byte.
//
// The stream can also write a file (bytes or blocks at the current position),
// which the metadata readers themselves never do.

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace quillbay {

class ByteStreamReader
{
public:
    ByteStreamReader() = default;
    ~ByteStreamReader();
    ByteStreamReader(const ByteStreamReader &) = delete;
    ByteStreamReader &operator=(const ByteStreamReader &) = delete;

    // Chooses reading (true) or writing (false) for the next Open. Refused
    // while a file is open.
    bool setReadMode(bool readMode);
    bool readMode() const { return m_readMode; }

    // Read mode: opens an existing regular file. Write mode: creates or opens
    // the file for writing at position 0 without cutting it short; with
    // deleteExisting a file of that name is removed first (a failed removal is
    // ignored, the open then decides). False when the file cannot be opened or
    // a file is open already.
    bool open(const QString &path, bool deleteExisting = false);
    // Reads from bytes held in memory instead of a file (read mode only).
    bool openBytes(const QByteArray &bytes);

    // The byte at the current position; the position moves behind it. False
    // past the end or in write mode, and byte is left as it was.
    bool readByte(quint8 &byte);
    // The byte at an absolute 0-based position; the current position becomes
    // the one behind it and is handed back in newPosition.
    bool readByteAt(quint8 &byte, qint64 position, qint64 &newPosition);
    // Fills block (its size says how many bytes) from the current position.
    // False unless every byte was read; bytes not read keep their old values.
    bool readBlock(QByteArray &block);

    bool writeBlock(quint8 byte);
    bool writeBlock(const QByteArray &bytes);

    bool atEnd() const;
    bool isOpen() const { return m_isOpen; }
    qint64 position() const { return m_position; }
    qint64 Size() const { return m_size; }
    // Ends the use of the file; buffered writes reach the file first. False
    // when they could not be written.
    bool close();

    // Kept for the caller; nothing in this class reads them.
    bool flag() const { return m_flag; }
    void setFlag(bool flag) { m_flag = flag; }
    QString name() const { return m_name; }
    void setName(const QString &name) { m_name = name; }

private:
    bool loadBlockAt(qint64 position);
    bool flushWrites();

    static constexpr qint64 BlockSize = 64 * 1024;

    bool m_readMode = true;
    bool m_isOpen = false;
    bool m_inMemory = false;
    bool m_writeFailed = false;
    bool m_flag = true;
    QString m_name;
    int m_fd = -1;
    qint64 m_size = 0;
    qint64 m_position = 0;
    QByteArray m_buffer; // read mode: the block that starts at m_bufferStart
    qint64 m_bufferStart = 0;
    QByteArray m_pending; // write mode: bytes not yet written, they start at m_pendingStart
    qint64 m_pendingStart = 0;
};

} // namespace quillbay
