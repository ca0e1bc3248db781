#pragma once
// Walks the image file directories (IFDs) of one TIFF structure, inside a TIFF
// file or inside the Exif segment of a JPEG file, and keeps the tags the Exif
// reader knows in an ExifData.
//
// The data is untrusted: every offset is checked against the end of the
// structure, each directory is walked at most once (so directories that point
// at each other cannot make the walk go round forever), and nothing is
// allocated by a count read from the file. A read that fails ends the walk;
// what was read until then stays.

#include "base/Result.h"
#include "metadata/ExifData.h"
#include "metadata/TiffIfdEntry.h"

#include <QSet>
#include <optional>

namespace quillbay {

class ByteStreamReader;

class TiffWalker
{
public:
    // base: stream position of the TIFF header, which all offsets count from;
    // limit: stream position where the structure ends (exclusive).
    TiffWalker(ByteStreamReader &stream, qint64 base, qint64 limit, ExifData &data);

    // Reads the header and walks the directories. False when there is no
    // TIFF header at base.
    bool walk();

private:
    struct Entry {
        quint16 tag = 0;
        quint16 type = 0;
        quint32 count = 0;
        std::array<quint8, 4> raw{};
        TiffEntryValue value;
        bool decoded = false;
    };

    bool byteAt(qint64 offset, quint8 &byte);
    bool shortAt(qint64 offset, quint16 &value);
    bool longAt(qint64 offset, quint32 &value);
    bool readEntry(qint64 offset, Entry &entry);

    void walkDirectories(quint32 first);
    bool enterDirectory(quint32 offset);

    // Keeps what the entry holds. False when its data could not be read,
    // which ends the walk. exifPointer is set for the Exif IFD pointer.
    bool handleEntry(const Entry &entry, quint32 &exifPointer);
    bool handleText(const Entry &entry);
    bool handleNumber(const Entry &entry, quint32 &exifPointer);
    bool handleRational(const Entry &entry);
    void keepDate(const QString &text);
    void keepExposureTime(qint64 numerator, qint64 denominator);

    bool readAscii(const Entry &entry, QByteArray &bytes);
    // The first value of an integer entry; nothing for an entry of another
    // type; an error when the value cannot be read, which ends the walk.
    Result<std::optional<quint32>> readInteger(const Entry &entry);
    struct Fraction {
        qint64 numerator = 0;
        qint64 denominator = 0;
    };
    // The first value of a RATIONAL or SRATIONAL entry, as readInteger.
    Result<std::optional<Fraction>> readRational(const Entry &entry);

    ByteStreamReader &m_stream;
    qint64 m_base;
    qint64 m_limit;
    ExifData &m_data;
    bool m_bigEndian = false;
    QSet<quint32> m_visited;
};

} // namespace quillbay
