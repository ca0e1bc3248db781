#include "metadata/TiffWalker.h"

#include "metadata/ByteStreamReader.h"
#include "metadata/ExifParser.h"

#include <cmath>
#include <numeric>
#include <vector>

namespace quillbay {
namespace {

namespace Tag {
enum : quint16 {
    ImageWidth = 0x0100,
    ImageLength = 0x0101,
    ImageDescription = 0x010E,
    Make = 0x010F,
    Model = 0x0110,
    DateTime = 0x0132,
    ExposureTime = 0x829A,
    FNumber = 0x829D,
    ExifIfdPointer = 0x8769,
    ExposureProgram = 0x8822,
    IsoSpeedRatings = 0x8827,
    ExifVersion = 0x9000,
    DateTimeOriginal = 0x9003,
    DateTimeDigitized = 0x9004,
    CompressedBitsPerPixel = 0x9102,
    ShutterSpeedValue = 0x9201,
    ApertureValue = 0x9202,
    BrightnessValue = 0x9203,
    Flash = 0x9209,
    PixelXDimension = 0xA002,
    PixelYDimension = 0xA003,
};
}

// More directories than any real file has (IFD0, Exif, interoperability,
// IFD1 and a few pages of a multi-page TIFF); a longer chain is damage.
constexpr int MaxDirectories = 64;
// Longer texts are no camera data; reading stops there.
constexpr qsizetype MaxTextBytes = 64 * 1024;
constexpr qint64 EntrySize = 12;

} // namespace

TiffWalker::TiffWalker(ByteStreamReader &stream, qint64 base, qint64 limit, ExifData &data)
    : m_stream(stream), m_base(base), m_limit(limit), m_data(data)
{
}

bool TiffWalker::byteAt(qint64 offset, quint8 &byte)
{
    const qint64 position = m_base + offset;
    if (offset < 0 || position >= m_limit)
        return false;
    qint64 next = 0;
    return m_stream.readByteAt(byte, position, next);
}

bool TiffWalker::shortAt(qint64 offset, quint16 &value)
{
    quint8 a = 0, b = 0;
    if (!byteAt(offset, a) || !byteAt(offset + 1, b))
        return false;
    value = tiffShort(m_bigEndian, a, b);
    return true;
}

bool TiffWalker::longAt(qint64 offset, quint32 &value)
{
    std::array<quint8, 4> raw{};
    for (int i = 0; i < 4; ++i) {
        if (!byteAt(offset + i, raw[i]))
            return false;
    }
    TiffEntryValue decoded;
    if (TiffIfdEntryValueOffsetGetValue(m_bigEndian, TiffType::Long, 1, raw, decoded) != TiffEntryOk)
        return false;
    value = decoded.value;
    return true;
}

bool TiffWalker::walk()
{
    quint8 a = 0, b = 0;
    if (!byteAt(0, a) || !byteAt(1, b))
        return false;
    if (a == 'I' && b == 'I')
        m_bigEndian = false;
    else if (a == 'M' && b == 'M')
        m_bigEndian = true;
    else
        return false;
    m_data.littleEndian = !m_bigEndian;
    quint16 magic = 0;
    quint32 first = 0;
    if (!shortAt(2, magic) || magic != 42 || !longAt(4, first))
        return false;
    walkDirectories(first);
    return true;
}

bool TiffWalker::enterDirectory(quint32 offset)
{
    if (offset == 0 || m_visited.contains(offset) || m_visited.size() >= MaxDirectories)
        return false;
    m_visited.insert(offset);
    return true;
}

void TiffWalker::walkDirectories(quint32 first)
{
    // Where to go on after the Exif IFD: the directory that held the pointer
    // and the entry behind the pointer.
    struct Place {
        quint32 directory;
        quint32 nextEntry;
    };
    std::vector<Place> stack;
    quint32 directory = enterDirectory(first) ? first : 0;
    quint32 entryIndex = 0;
    while (true) {
        if (directory == 0) {
            if (stack.empty())
                return;
            directory = stack.back().directory;
            entryIndex = stack.back().nextEntry;
            stack.pop_back();
        }
        quint16 count = 0;
        if (!shortAt(directory, count))
            return;
        quint32 descendTo = 0;
        for (; entryIndex < count && descendTo == 0; ++entryIndex) {
            Entry entry;
            quint32 pointer = 0;
            if (!readEntry(qint64(directory) + 2 + EntrySize * entryIndex, entry) || !handleEntry(entry, pointer))
                return;
            if (enterDirectory(pointer))
                descendTo = pointer;
        }
        if (descendTo != 0) {
            stack.push_back({directory, entryIndex});
            directory = descendTo;
            entryIndex = 0;
            continue;
        }
        quint32 next = 0;
        if (!longAt(qint64(directory) + 2 + EntrySize * count, next))
            return;
        directory = enterDirectory(next) ? next : 0;
        entryIndex = 0;
    }
}

bool TiffWalker::readEntry(qint64 offset, Entry &entry)
{
    quint32 count = 0;
    if (!shortAt(offset, entry.tag) || !shortAt(offset + 2, entry.type) || !longAt(offset + 4, count))
        return false;
    entry.count = count;
    for (int i = 0; i < 4; ++i) {
        if (!byteAt(offset + 8 + i, entry.raw[i]))
            return false;
    }
    entry.decoded =
        TiffIfdEntryValueOffsetGetValue(m_bigEndian, entry.type, entry.count, entry.raw, entry.value) == TiffEntryOk;
    return true;
}

bool TiffWalker::handleEntry(const Entry &entry, quint32 &exifPointer)
{
    if (entry.tag == Tag::ExifVersion) {
        m_data.hasExifVersion = true;
        return true;
    }
    // An entry of a type that cannot be decoded is skipped, as readers of
    // TIFF are told to do with unexpected field types.
    if (!entry.decoded)
        return true;
    switch (entry.tag) {
    case Tag::ImageDescription:
    case Tag::Make:
    case Tag::Model:
    case Tag::DateTime:
    case Tag::DateTimeOriginal:
    case Tag::DateTimeDigitized:
        return handleText(entry);
    case Tag::ImageWidth:
    case Tag::ImageLength:
    case Tag::PixelXDimension:
    case Tag::PixelYDimension:
    case Tag::Flash:
    case Tag::IsoSpeedRatings:
    case Tag::ExposureProgram:
    case Tag::ExifIfdPointer:
        return handleNumber(entry, exifPointer);
    case Tag::ExposureTime:
    case Tag::FNumber:
    case Tag::ShutterSpeedValue:
    case Tag::ApertureValue:
    case Tag::BrightnessValue:
    case Tag::CompressedBitsPerPixel:
        return handleRational(entry);
    default:
        return true;
    }
}

bool TiffWalker::handleText(const Entry &entry)
{
    if (entry.type != TiffType::Ascii)
        return true;
    QByteArray bytes;
    if (!readAscii(entry, bytes))
        return false;
    // Each byte becomes the character of the same code (ISO 8859-1).
    const QString text = QString::fromLatin1(bytes);
    switch (entry.tag) {
    case Tag::ImageDescription:
        m_data.description = text.trimmed();
        break;
    case Tag::Make:
        m_data.manufacturer = text;
        break;
    case Tag::Model:
        m_data.model = text;
        break;
    default:
        keepDate(text.trimmed());
        break;
    }
    return true;
}

void TiffWalker::keepDate(const QString &text)
{
    const std::optional<QDateTime> value = parseExifDateTime(text);
    // Cameras write "0000:00:00 00:00:00" or blanks into date tags they do not
    // fill; such a tag must not wipe out a good date read before it.
    if (!value && m_data.dateKnown)
        return;
    m_data.dateText = text;
    m_data.dateKnown = value.has_value();
    m_data.dateValue = value.value_or(QDateTime());
}

bool TiffWalker::handleNumber(const Entry &entry, quint32 &exifPointer)
{
    const Result<std::optional<quint32>> read = readInteger(entry);
    if (!read)
        return false;
    if (!read.value())
        return true;
    const quint32 value = *read.value();
    switch (entry.tag) {
    case Tag::ImageWidth:
        m_data.width = qMax(m_data.width, value);
        break;
    case Tag::ImageLength:
        m_data.height = qMax(m_data.height, value);
        break;
    case Tag::PixelXDimension:
        m_data.width = value;
        break;
    case Tag::PixelYDimension:
        m_data.height = value;
        break;
    case Tag::Flash:
        m_data.flashKnown = true;
        m_data.flashFired = (value & 1u) != 0;
        break;
    case Tag::IsoSpeedRatings:
        m_data.isoSpeed = value;
        m_data.isoSpeedKnown = true;
        break;
    case Tag::ExposureProgram:
        m_data.exposureProgram = value;
        m_data.exposureProgramKnown = true;
        break;
    case Tag::ExifIfdPointer:
        exifPointer = value;
        break;
    default:
        break;
    }
    return true;
}

bool TiffWalker::handleRational(const Entry &entry)
{
    const Result<std::optional<Fraction>> read = readRational(entry);
    if (!read)
        return false;
    // A zero denominator leaves the value absent.
    if (!read.value() || read.value()->denominator == 0)
        return true;
    const auto [numerator, denominator] = *read.value();
    const double value = double(numerator) / double(denominator);
    switch (entry.tag) {
    case Tag::ExposureTime:
        keepExposureTime(numerator, denominator);
        break;
    case Tag::FNumber:
        m_data.fNumber = value;
        m_data.fNumberKnown = true;
        m_data.fNumberDerived = false;
        break;
    case Tag::ShutterSpeedValue:
        m_data.shutterSpeedValue = value;
        m_data.shutterSpeedKnown = true;
        break;
    case Tag::ApertureValue:
        m_data.apertureValue = value;
        m_data.apertureKnown = true;
        break;
    case Tag::BrightnessValue:
        m_data.brightnessValue = value;
        m_data.brightnessPower = std::pow(2.0, value);
        m_data.brightnessKnown = true;
        break;
    case Tag::CompressedBitsPerPixel:
        m_data.compressedBitsPerPixel = value;
        m_data.compressedBitsPerPixelKnown = true;
        break;
    default:
        break;
    }
    return true;
}

void TiffWalker::keepExposureTime(qint64 numerator, qint64 denominator)
{
    // A time of zero is no time; a negative one is damage.
    if (numerator <= 0 || denominator <= 0)
        return;
    const qint64 divisor = std::gcd(numerator, denominator);
    m_data.exposureNumerator = quint32(numerator / divisor);
    m_data.exposureDenominator = quint32(denominator / divisor);
    m_data.exposureSeconds = double(numerator) / double(denominator);
    m_data.exposureKnown = true;
    m_data.exposureIsFraction = true;
}

bool TiffWalker::readAscii(const Entry &entry, QByteArray &bytes)
{
    const qint64 length = qMin<qint64>(entry.count, MaxTextBytes);
    for (qint64 i = 0; i < length; ++i) {
        quint8 byte = 0;
        if (entry.value.fitsInField)
            byte = entry.raw[size_t(i)];
        else if (!byteAt(qint64(entry.value.offset) + i, byte))
            return false;
        if (byte == 0)
            break;
        bytes.append(char(byte));
    }
    return true;
}

static Error unreadableValue()
{
    return Error::withMessage(QStringLiteral("the value of a directory entry lies beyond the data"));
}

Result<std::optional<quint32>> TiffWalker::readInteger(const Entry &entry)
{
    switch (entry.type) {
    case TiffType::Byte:
    case TiffType::Short:
    case TiffType::Long:
    case TiffType::SShort:
    case TiffType::SLong:
    case TiffType::Ifd:
        break;
    default:
        return std::optional<quint32>();
    }
    if (entry.value.fitsInField)
        return std::optional<quint32>(entry.value.value);
    // Several values that do not fit in the field: the first one at the offset.
    const qint64 at = entry.value.offset;
    quint32 value = 0;
    if (entry.type == TiffType::Byte) {
        quint8 byte = 0;
        if (!byteAt(at, byte))
            return unreadableValue();
        value = byte;
    } else if (entry.type == TiffType::Short || entry.type == TiffType::SShort) {
        quint16 word = 0;
        if (!shortAt(at, word))
            return unreadableValue();
        value = entry.type == TiffType::SShort ? quint32(qint32(qint16(word))) : word;
    } else if (!longAt(at, value)) {
        return unreadableValue();
    }
    return std::optional<quint32>(value);
}

Result<std::optional<TiffWalker::Fraction>> TiffWalker::readRational(const Entry &entry)
{
    if (entry.type != TiffType::Rational && entry.type != TiffType::SRational)
        return std::optional<Fraction>();
    quint32 top = 0, bottom = 0;
    if (!longAt(entry.value.offset, top) || !longAt(qint64(entry.value.offset) + 4, bottom))
        return unreadableValue();
    if (entry.type == TiffType::SRational)
        return std::optional<Fraction>(Fraction{qint32(top), qint32(bottom)});
    return std::optional<Fraction>(Fraction{top, bottom});
}

} // namespace quillbay
