#pragma once
// Builds TIFF structures and JPEG files byte by byte, in either byte order,
// so the tests control every field the Exif reader meets.

#include <QByteArray>
#include <QList>
#include <QtGlobal>

namespace quillbay::test {

enum class Ifd { Zero, Exif, One };

class TiffBuilder
{
public:
    explicit TiffBuilder(bool bigEndian) : m_bigEndian(bigEndian) {}

    // value: the value bytes, already in the builder's byte order.
    TiffBuilder &entry(Ifd ifd, quint16 tag, quint16 type, quint32 count, const QByteArray &value)
    {
        m_entries.append({ifd, tag, type, count, value});
        return *this;
    }
    TiffBuilder &ascii(Ifd ifd, quint16 tag, const QByteArray &text)
    {
        return entry(ifd, tag, 2, quint32(text.size() + 1), text + '\0');
    }
    TiffBuilder &shortValue(Ifd ifd, quint16 tag, quint16 value) { return entry(ifd, tag, 3, 1, u16(value)); }
    TiffBuilder &longValue(Ifd ifd, quint16 tag, quint32 value) { return entry(ifd, tag, 4, 1, u32(value)); }
    TiffBuilder &rational(Ifd ifd, quint16 tag, quint32 numerator, quint32 denominator)
    {
        return entry(ifd, tag, 5, 1, u32(numerator) + u32(denominator));
    }
    TiffBuilder &srational(Ifd ifd, quint16 tag, qint32 numerator, qint32 denominator)
    {
        return entry(ifd, tag, 10, 1, u32(quint32(numerator)) + u32(quint32(denominator)));
    }

    QByteArray u16(quint16 v) const
    {
        QByteArray b(2, '\0');
        b[m_bigEndian ? 0 : 1] = char(v >> 8);
        b[m_bigEndian ? 1 : 0] = char(v & 0xFF);
        return b;
    }
    QByteArray u32(quint32 v) const
    {
        QByteArray b(4, '\0');
        for (int i = 0; i < 4; ++i)
            b[m_bigEndian ? 3 - i : i] = char((v >> (8 * i)) & 0xFF);
        return b;
    }

    // Header, IFD0 (with the Exif IFD pointer when the Exif IFD has entries),
    // the Exif IFD, then IFD1; each directory followed by its value data.
    QByteArray build() const
    {
        const QList<Item> zero = itemsOf(Ifd::Zero);
        const QList<Item> exif = itemsOf(Ifd::Exif);
        const QList<Item> one = itemsOf(Ifd::One);
        const bool hasExif = !exif.isEmpty();
        const quint32 zeroAt = 8;
        const quint32 exifAt = zeroAt + directorySize(zero, hasExif ? 1 : 0);
        const quint32 oneAt = exifAt + (hasExif ? directorySize(exif, 0) : 0);
        QList<Item> zeroItems = zero;
        if (hasExif)
            zeroItems.append({Ifd::Zero, 0x8769, 4, 1, u32(exifAt)});
        QByteArray out = QByteArray(m_bigEndian ? "MM" : "II") + u16(42) + u32(zeroAt);
        out += directory(zeroItems, zeroAt, one.isEmpty() ? 0 : oneAt);
        if (hasExif)
            out += directory(exif, exifAt, 0);
        if (!one.isEmpty())
            out += directory(one, oneAt, 0);
        return out;
    }

private:
    struct Item {
        Ifd ifd;
        quint16 tag;
        quint16 type;
        quint32 count;
        QByteArray value;
    };

    QList<Item> itemsOf(Ifd ifd) const
    {
        QList<Item> items;
        for (const Item &item : m_entries) {
            if (item.ifd == ifd)
                items.append(item);
        }
        return items;
    }
    static quint32 padded(qsizetype size) { return quint32(size + (size & 1)); }
    static quint32 directorySize(const QList<Item> &items, int extraEntries)
    {
        quint32 size = 2 + 12 * quint32(items.size() + extraEntries) + 4;
        for (const Item &item : items) {
            if (item.value.size() > 4)
                size += padded(item.value.size());
        }
        return size;
    }
    QByteArray directory(const QList<Item> &items, quint32 at, quint32 next) const
    {
        QByteArray table = u16(quint16(items.size()));
        QByteArray data;
        const quint32 dataAt = at + 2 + 12 * quint32(items.size()) + 4;
        for (const Item &item : items) {
            table += u16(item.tag) + u16(item.type) + u32(item.count);
            if (item.value.size() <= 4) {
                table += item.value + QByteArray(4 - item.value.size(), '\0');
            } else {
                table += u32(dataAt + quint32(data.size()));
                data += item.value;
                if (item.value.size() & 1)
                    data += '\0';
            }
        }
        return table + u32(next) + data;
    }

    bool m_bigEndian;
    QList<Item> m_entries;
};

inline QByteArray jpegSegment(quint8 marker, const QByteArray &payload)
{
    const int length = int(payload.size()) + 2;
    return QByteArray("\xFF") + char(marker) + char(length >> 8) + char(length & 0xFF) + payload;
}

inline QByteArray jfifSegment()
{
    return jpegSegment(0xE0, QByteArray("JFIF\0\x01\x01\x00\x00\x01\x00\x01\x00\x00", 14));
}

inline QByteArray exifSegment(const QByteArray &tiff)
{
    return jpegSegment(0xE1, QByteArray("Exif\0\0", 6) + tiff);
}

inline QByteArray frameSegment(quint16 width, quint16 height, quint8 marker = 0xC0)
{
    QByteArray payload;
    payload += char(8);
    payload += char(height >> 8);
    payload += char(height & 0xFF);
    payload += char(width >> 8);
    payload += char(width & 0xFF);
    payload += QByteArray("\x03\x01\x22\x00\x02\x11\x01\x03\x11\x01", 10);
    return jpegSegment(marker, payload);
}

// A JPEG file: start of image, the given segments, a scan and end of image.
inline QByteArray jpegFile(const QByteArray &segments)
{
    const QByteArray scan = jpegSegment(0xDA, QByteArray("\x03\x01\x00\x02\x11\x03\x11\x00\x3f\x00", 10));
    return QByteArray("\xFF\xD8", 2) + segments + scan + QByteArray("\x12\x34\xFF\xD9", 4);
}

} // namespace quillbay::test
