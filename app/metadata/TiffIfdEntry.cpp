#include "metadata/TiffIfdEntry.h"

namespace quillbay {

int tiffTypeSize(quint16 type)
{
    switch (type) {
    case TiffType::Byte:
    case TiffType::Ascii:
    case TiffType::SByte:
    case TiffType::Undefined:
        return 1;
    case TiffType::Short:
    case TiffType::SShort:
        return 2;
    case TiffType::Long:
    case TiffType::SLong:
    case TiffType::Float:
    case TiffType::Ifd:
        return 4;
    case TiffType::Rational:
    case TiffType::SRational:
    case TiffType::Double:
        return 8;
    default:
        return 0;
    }
}

quint16 tiffShort(bool bigEndian, quint8 first, quint8 second)
{
    return bigEndian ? quint16((first << 8) | second) : quint16((second << 8) | first);
}

quint32 tiffLong(bool bigEndian, const std::array<quint8, 4> &raw)
{
    if (bigEndian)
        return (quint32(raw[0]) << 24) | (quint32(raw[1]) << 16) | (quint32(raw[2]) << 8) | raw[3];
    return (quint32(raw[3]) << 24) | (quint32(raw[2]) << 16) | (quint32(raw[1]) << 8) | raw[0];
}

// The first value of a field whose values fit in the four bytes. Values are
// left-justified: the first one starts at the first byte whatever the byte order.
static quint32 firstValueInField(bool bigEndian, quint16 type, const std::array<quint8, 4> &raw)
{
    switch (type) {
    case TiffType::SByte:
        return quint32(qint32(qint8(raw[0])));
    case TiffType::Short:
        return tiffShort(bigEndian, raw[0], raw[1]);
    case TiffType::SShort:
        return quint32(qint32(qint16(tiffShort(bigEndian, raw[0], raw[1]))));
    case TiffType::Long:
    case TiffType::SLong:
    case TiffType::Float:
    case TiffType::Ifd:
        return tiffLong(bigEndian, raw);
    default: // BYTE, ASCII, UNDEFINED: the first byte
        return raw[0];
    }
}

int TiffIfdEntryValueOffsetGetValue(bool bigEndian, quint16 type, quint32 count, const std::array<quint8, 4> &raw,
                                    TiffEntryValue &out)
{
    const int size = tiffTypeSize(type);
    if (size == 0)
        return TiffEntryUnknownType;
    if (count == 0)
        return TiffEntryNoValue;
    const quint64 bytes = quint64(count) * quint64(size);
    if (bytes > 0xFFFFFFFFull)
        return TiffEntryTooLarge;
    out = TiffEntryValue{};
    if (bytes <= 4) {
        out.fitsInField = true;
        out.value = firstValueInField(bigEndian, type, raw);
    } else {
        out.offset = tiffLong(bigEndian, raw);
    }
    return TiffEntryOk;
}

} // namespace quillbay
