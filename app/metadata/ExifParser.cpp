#include "metadata/ExifParser.h"

#include "metadata/ByteStreamReader.h"
#include "metadata/TiffWalker.h"

#include <cmath>

namespace quillbay {
namespace {

class JpegWalker
{
public:
    JpegWalker(ByteStreamReader &stream, ExifData &data) : m_stream(stream), m_data(data) {}
    void walk();

private:
    bool byteAt(qint64 position, quint8 &byte)
    {
        qint64 next = 0;
        return m_stream.readByteAt(byte, position, next);
    }
    bool wordAt(qint64 position, quint16 &value)
    {
        quint8 high = 0, low = 0;
        if (!byteAt(position, high) || !byteAt(position + 1, low))
            return false;
        value = quint16((high << 8) | low);
        return true;
    }
    bool readFrame(qint64 data);
    void readApp0(qint64 data, qint64 end);
    void readApp1(qint64 data, qint64 end);

    ByteStreamReader &m_stream;
    ExifData &m_data;
};

void JpegWalker::walk()
{
    qint64 position = 2;
    while (true) {
        quint8 prefix = 0, code = 0;
        if (!byteAt(position, prefix) || prefix != 0xFF || !byteAt(position + 1, code))
            return;
        // Fill bytes: any number of FF may come before the marker code.
        while (code == 0xFF) {
            ++position;
            if (!byteAt(position + 1, code))
                return;
        }
        if (code == 0xD9 || code == 0xDA || code < 0xC0)
            return;
        quint16 length = 0;
        if (!wordAt(position + 2, length) || length < 2)
            return;
        const qint64 data = position + 4;
        const qint64 end = position + 2 + length;
        if (code == 0xC0 || code == 0xC2) {
            if (!readFrame(data))
                return;
        } else if (code == 0xE0) {
            readApp0(data, end);
        } else if (code == 0xE1 && !m_data.hasJfif) {
            readApp1(data, end);
        }
        position = end;
    }
}

bool JpegWalker::readFrame(qint64 data)
{
    quint16 height = 0, width = 0;
    if (!wordAt(data + 1, height) || !wordAt(data + 3, width))
        return false;
    m_data.height = qMax<quint32>(m_data.height, height);
    m_data.width = qMax<quint32>(m_data.width, width);
    return true;
}

void JpegWalker::readApp0(qint64 data, qint64 end)
{
    quint8 a = 0, b = 0;
    if (data + 2 <= end && byteAt(data, a) && byteAt(data + 1, b) && a == 'J' && b == 'F')
        m_data.hasJfif = true;
}

void JpegWalker::readApp1(qint64 data, qint64 end)
{
    quint8 id[4] = {};
    for (int i = 0; i < 4; ++i) {
        if (data + i >= end || !byteAt(data + i, id[i]))
            return;
    }
    const bool head = (id[0] == 'E' && id[1] == 'x') || (id[0] == 'J' && id[1] == 'F');
    const bool tail = (id[2] == 'i' && id[3] == 'f') || (id[2] == 'I' && id[3] == 'F');
    if (!head || !tail)
        return;
    // The identifier and its two zero bytes; the TIFF header follows and all
    // offsets of the Exif data count from it. The data ends with the segment.
    TiffWalker(m_stream, data + 6, end, m_data).walk();
}

bool startsWith(ByteStreamReader &stream, std::initializer_list<quint8> bytes)
{
    qint64 position = 0;
    for (quint8 expected : bytes) {
        quint8 byte = 0;
        qint64 next = 0;
        if (!stream.readByteAt(byte, position, next) || byte != expected)
            return false;
        position = next;
    }
    return true;
}

bool isNumber(const QString &part)
{
    if (part.isEmpty())
        return false;
    for (QChar c : part) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

void deriveValues(ExifData &data)
{
    if (!data.exposureKnown && data.shutterSpeedKnown) {
        data.exposureSeconds = std::pow(2.0, -data.shutterSpeedValue);
        data.exposureKnown = true;
        data.exposureIsFraction = false;
    }
    if (!data.fNumberKnown && data.apertureKnown && data.apertureValue >= 0) {
        data.fNumber = std::pow(2.0, data.apertureValue / 2);
        data.fNumberKnown = true;
        data.fNumberDerived = true;
    }
}

} // namespace

std::optional<QDateTime> parseExifDateTime(const QString &text)
{
    if (text.isEmpty() || !text.at(0).isDigit())
        return std::nullopt;
    // Positions of year, month, day, hour, minute and second in
    // "YYYY:MM:DD HH:MM:SS".
    static constexpr int starts[] = {0, 5, 8, 11, 14, 17};
    static constexpr int lengths[] = {4, 2, 2, 2, 2, 2};
    int parts[6] = {};
    for (int i = 0; i < 6; ++i) {
        const QString part = text.mid(starts[i], lengths[i]);
        if (!isNumber(part))
            return std::nullopt;
        parts[i] = part.toInt();
    }
    const QDate date(parts[0], parts[1], parts[2]);
    const QTime time(parts[3], parts[4], parts[5]);
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return QDateTime(date, time);
}

bool parseImage(ByteStreamReader &stream, ExifData &data)
{
    if (startsWith(stream, {0xFF, 0xD8})) {
        data.isJpeg = true;
        JpegWalker(stream, data).walk();
    } else if (startsWith(stream, {'I', 'I', 0x2A, 0x00}) || startsWith(stream, {'M', 'M', 0x00, 0x2A})) {
        data.isTiff = true;
        TiffWalker(stream, 0, stream.Size(), data).walk();
    } else {
        return false;
    }
    deriveValues(data);
    return true;
}

} // namespace quillbay
