#pragma once
// Decoding of the four-byte value field of one TIFF directory entry.
//
// A directory entry holds its value in the field itself when the value fits in
// four bytes (left-justified, in the file's byte order); otherwise the field
// holds the offset of the value. This helper tells the two apart by field type
// and count and composes the numbers by byte order.

#include <QtGlobal>
#include <array>

namespace quillbay {

namespace TiffType {
enum : quint16 {
    Byte = 1,
    Ascii = 2,
    Short = 3,
    Long = 4,
    Rational = 5,
    SByte = 6,
    Undefined = 7,
    SShort = 8,
    SLong = 9,
    SRational = 10,
    Float = 11,
    Double = 12,
    Ifd = 13,
};
}

// Size in bytes of one value of a field type; 0 for a type this reader does
// not know (such entries are skipped).
int tiffTypeSize(quint16 type);

struct TiffEntryValue {
    bool fitsInField = false; // the value is in the four bytes themselves
    quint32 value = 0;        // when it fits: the first value as a number (signed types sign-extended)
    quint32 offset = 0;       // when it does not fit: where the value starts
};

enum TiffEntryResult : int {
    TiffEntryOk = 0,
    TiffEntryUnknownType = 1,
    TiffEntryNoValue = 2,  // a count of 0
    TiffEntryTooLarge = 3, // count times size does not fit in 32 bits
};

// bigEndian: the file's byte order ("MM"); raw: the value field in file order.
// Returns TiffEntryOk (0) when out was filled.
int TiffIfdEntryValueOffsetGetValue(bool bigEndian, quint16 type, quint32 count, const std::array<quint8, 4> &raw,
                                    TiffEntryValue &out);

// Composes a 32-bit number from four bytes in the given byte order (what the
// helper above gives for one LONG).
quint32 tiffLong(bool bigEndian, const std::array<quint8, 4> &raw);
quint16 tiffShort(bool bigEndian, quint8 first, quint8 second);

} // namespace quillbay
