#include "metadata/PropertySet.h"

#include "metadata/LegacyCodePage.h"

#include <QDateTime>
#include <QStringList>
#include <bit>

namespace quillbay {
namespace {

// Property types (VARENUM) of the property set format.
enum : quint16 {
    VtEmpty = 0,
    VtNull = 1,
    VtI2 = 2,
    VtI4 = 3,
    VtR4 = 4,
    VtR8 = 5,
    VtCy = 6,
    VtDate = 7,
    VtBstr = 8,
    VtBool = 11,
    VtVariant = 12,
    VtI1 = 16,
    VtUi1 = 17,
    VtUi2 = 18,
    VtUi4 = 19,
    VtI8 = 20,
    VtUi8 = 21,
    VtInt = 22,
    VtUint = 23,
    VtLpstr = 30,
    VtLpwstr = 31,
    VtFiletime = 64,
    VtBlob = 65,
    VtClsid = 72,
    VtVector = 0x1000,
};

constexpr quint32 DictionaryId = 0;
constexpr quint32 CodePageId = 1;
// Vectors longer than this are no summary information.
constexpr quint32 MaxVectorElements = 65536;

// Little-endian reads that never pass the end of the bytes; a failed read
// leaves the reader where it was.
class ByteReader
{
public:
    ByteReader(const QByteArray &bytes, qsizetype position) : m_bytes(bytes), m_position(position) {}
    qsizetype position() const { return m_position; }
    qsizetype remaining() const { return qMax<qsizetype>(0, m_bytes.size() - m_position); }
    bool take(qsizetype count, QByteArrayView &out)
    {
        if (count < 0 || m_position < 0 || count > remaining())
            return false;
        out = QByteArrayView(m_bytes.constData() + m_position, count);
        m_position += count;
        return true;
    }
    template<typename T>
    bool read(T &value)
    {
        QByteArrayView raw;
        if (!take(qsizetype(sizeof(T)), raw))
            return false;
        quint64 v = 0;
        for (qsizetype i = qsizetype(sizeof(T)) - 1; i >= 0; --i)
            v = (v << 8) | quint8(raw[i]);
        value = T(v);
        return true;
    }
    // Skips up to the next multiple of four counted from start, when the
    // bytes in between are zero (8-bit strings in vectors may come without
    // their padding).
    void skipZeroPaddingFrom(qsizetype start)
    {
        const qsizetype pad = (4 - (m_position - start) % 4) % 4;
        if (pad == 0 || pad > remaining())
            return;
        for (qsizetype i = 0; i < pad; ++i) {
            if (m_bytes.at(m_position + i) != 0)
                return;
        }
        m_position += pad;
    }
    void skipPaddingFrom(qsizetype start)
    {
        const qsizetype pad = (4 - (m_position - start) % 4) % 4;
        m_position += qMin(pad, remaining());
    }

private:
    const QByteArray &m_bytes;
    qsizetype m_position;
};

QString utf16UpToZero(QByteArrayView bytes)
{
    QString text;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
        const char16_t unit = char16_t(quint8(bytes[i]) | (quint8(bytes[i + 1]) << 8));
        if (unit == 0)
            break;
        text.append(QChar(unit));
    }
    return text;
}

QDateTime fileTimeToLocal(quint64 fileTime)
{
    // 100-nanosecond ticks since 1601-01-01 in universal time.
    constexpr qint64 msecsFrom1601To1970 = 11644473600000LL;
    const qint64 msecs = qint64(fileTime / 10000) - msecsFrom1601To1970;
    return QDateTime::fromMSecsSinceEpoch(msecs, Qt::UTC).toLocalTime();
}

class ValueDecoder
{
public:
    ValueDecoder(const QByteArray &encoding, bool unicodeStrings) : m_encoding(encoding), m_unicode(unicodeStrings) {}

    std::optional<QVariant> typed(ByteReader &reader, quint16 type) const
    {
        if (type & VtVector)
            return vector(reader, quint16(type & ~VtVector));
        return scalar(reader, type);
    }

private:
    std::optional<QVariant> vector(ByteReader &reader, quint16 elementType) const;
    std::optional<QVariant> scalar(ByteReader &reader, quint16 type) const;
    std::optional<QVariant> variant(ByteReader &reader) const
    {
        quint16 type = 0, padding = 0;
        if (!reader.read(type) || !reader.read(padding) || (type & VtVector))
            return std::nullopt;
        return scalar(reader, type);
    }
    std::optional<QString> codePageString(ByteReader &reader) const;
    std::optional<QString> unicodeString(ByteReader &reader) const
    {
        quint32 characters = 0;
        QByteArrayView raw;
        if (!reader.read(characters) || characters > quint32(reader.remaining() / 2)
            || !reader.take(qsizetype(characters) * 2, raw))
            return std::nullopt;
        return utf16UpToZero(raw);
    }
    template<typename T>
    static std::optional<QVariant> number(ByteReader &reader)
    {
        T value{};
        if (!reader.read(value))
            return std::nullopt;
        return QVariant::fromValue(value);
    }

    QByteArray m_encoding;
    bool m_unicode;
};

std::optional<QString> ValueDecoder::codePageString(ByteReader &reader) const
{
    quint32 size = 0;
    QByteArrayView raw;
    if (!reader.read(size) || size > quint32(reader.remaining()) || !reader.take(qsizetype(size), raw))
        return std::nullopt;
    if (m_unicode)
        return utf16UpToZero(raw);
    const qsizetype zero = raw.indexOf('\0');
    const QByteArrayView text = zero >= 0 ? raw.first(zero) : raw;
    if (std::optional<QString> decoded = decodeText(text, m_encoding))
        return decoded;
    return QString::fromLatin1(text);
}

std::optional<QVariant> ValueDecoder::scalar(ByteReader &reader, quint16 type) const
{
    switch (type) {
    case VtEmpty:
    case VtNull:
        return QVariant();
    case VtI1:
        return number<qint8>(reader);
    case VtUi1:
        return number<quint8>(reader);
    case VtI2:
        return number<qint16>(reader);
    case VtUi2:
        return number<quint16>(reader);
    case VtI4:
    case VtInt:
        return number<qint32>(reader);
    case VtUi4:
    case VtUint:
        return number<quint32>(reader);
    case VtI8:
    case VtCy:
        return number<qint64>(reader);
    case VtUi8:
        return number<quint64>(reader);
    case VtR4: {
        quint32 bits = 0;
        if (!reader.read(bits))
            return std::nullopt;
        return QVariant(std::bit_cast<float>(bits));
    }
    case VtR8:
    case VtDate: {
        quint64 bits = 0;
        if (!reader.read(bits))
            return std::nullopt;
        return QVariant(std::bit_cast<double>(bits));
    }
    case VtBool: {
        quint16 flag = 0;
        if (!reader.read(flag))
            return std::nullopt;
        return QVariant(flag != 0);
    }
    case VtLpstr:
    case VtBstr: {
        const std::optional<QString> text = codePageString(reader);
        return text ? std::optional<QVariant>(*text) : std::nullopt;
    }
    case VtLpwstr: {
        const std::optional<QString> text = unicodeString(reader);
        return text ? std::optional<QVariant>(*text) : std::nullopt;
    }
    case VtFiletime: {
        quint64 fileTime = 0;
        if (!reader.read(fileTime))
            return std::nullopt;
        return QVariant(fileTimeToLocal(fileTime));
    }
    case VtBlob: {
        quint32 size = 0;
        QByteArrayView raw;
        if (!reader.read(size) || size > quint32(reader.remaining()) || !reader.take(qsizetype(size), raw))
            return std::nullopt;
        return QVariant(raw.toByteArray());
    }
    case VtClsid: {
        QByteArrayView raw;
        if (!reader.take(16, raw))
            return std::nullopt;
        return QVariant(QUuid::fromRfc4122(raw));
    }
    default:
        return std::nullopt;
    }
}

std::optional<QVariant> ValueDecoder::vector(ByteReader &reader, quint16 elementType) const
{
    quint32 count = 0;
    if (!reader.read(count) || elementType == VtEmpty || elementType == VtNull)
        return std::nullopt;
    const bool strings = elementType == VtLpstr || elementType == VtBstr || elementType == VtLpwstr;
    QStringList texts;
    QVariantList values;
    for (quint32 i = 0; i < count && i < MaxVectorElements; ++i) {
        const qsizetype start = reader.position();
        const std::optional<QVariant> element =
            elementType == VtVariant ? variant(reader) : scalar(reader, elementType);
        if (!element || reader.position() == start)
            return std::nullopt;
        if (elementType == VtLpwstr || (strings && m_unicode))
            reader.skipPaddingFrom(start);
        else if (strings || elementType == VtVariant)
            reader.skipZeroPaddingFrom(start);
        if (strings)
            texts.append(element->toString());
        else
            values.append(*element);
    }
    return strings ? QVariant(texts) : QVariant(values);
}

} // namespace

PropertySection::PropertySection(QByteArray bytes, QByteArray fallbackEncoding)
    : m_bytes(std::move(bytes)), m_fallbackEncoding(std::move(fallbackEncoding))
{
}

std::optional<quint32> PropertySection::propertyOffset(quint32 id) const
{
    ByteReader reader(m_bytes, 4);
    quint32 count = 0;
    if (!reader.read(count))
        return std::nullopt;
    for (quint32 i = 0; i < count; ++i) {
        quint32 entryId = 0, offset = 0;
        if (!reader.read(entryId) || !reader.read(offset))
            return std::nullopt;
        if (entryId == id && offset >= 8 && qsizetype(offset) + 4 <= m_bytes.size())
            return offset;
    }
    return std::nullopt;
}

QByteArray PropertySection::encoding() const
{
    // The code page property is a 16-bit number (VT_I2); 65001 and other
    // numbers above 32767 are stored as negative values.
    if (const std::optional<quint32> offset = propertyOffset(CodePageId)) {
        ByteReader reader(m_bytes, qsizetype(*offset));
        quint16 type = 0, padding = 0, codePage = 0;
        if (reader.read(type) && reader.read(padding) && (type == VtI2 || type == VtUi2) && reader.read(codePage)) {
            const QByteArray name = iconvNameForCodePage(codePage);
            if (!name.isEmpty())
                return name;
        }
    }
    return m_fallbackEncoding;
}

QVariant PropertySection::value(quint32 id) const
{
    if (id == DictionaryId)
        return {};
    const std::optional<quint32> offset = propertyOffset(id);
    if (!offset)
        return {};
    ByteReader reader(m_bytes, qsizetype(*offset));
    quint16 type = 0, padding = 0;
    if (!reader.read(type) || !reader.read(padding))
        return {};
    const QByteArray encodingName = encoding();
    const ValueDecoder decoder(encodingName, encodingName == "UTF-16LE");
    return decoder.typed(reader, type).value_or(QVariant());
}

std::optional<quint32> PropertySection::idForName(const QString &name) const
{
    const std::optional<quint32> offset = propertyOffset(DictionaryId);
    if (!offset)
        return std::nullopt;
    const QByteArray encodingName = encoding();
    const bool unicode = encodingName == "UTF-16LE";
    ByteReader reader(m_bytes, qsizetype(*offset));
    quint32 entries = 0;
    if (!reader.read(entries))
        return std::nullopt;
    for (quint32 i = 0; i < entries; ++i) {
        const qsizetype start = reader.position();
        quint32 id = 0, length = 0;
        QByteArrayView raw;
        if (!reader.read(id) || !reader.read(length) || length > quint32(reader.remaining())
            || !reader.take(qsizetype(length) * (unicode ? 2 : 1), raw))
            return std::nullopt;
        QString entryName;
        if (unicode) {
            entryName = utf16UpToZero(raw);
            reader.skipPaddingFrom(start);
        } else {
            const qsizetype zero = raw.indexOf('\0');
            const QByteArrayView text = zero >= 0 ? raw.first(zero) : raw;
            entryName = decodeText(text, encodingName).value_or(QString::fromLatin1(text));
        }
        if (entryName.compare(name, Qt::CaseInsensitive) == 0)
            return id;
    }
    return std::nullopt;
}

std::optional<PropertySetStream> PropertySetStream::parse(const QByteArray &bytes, const QByteArray &fallbackEncoding)
{
    ByteReader reader(bytes, 0);
    quint16 byteOrder = 0;
    if (!reader.read(byteOrder) || byteOrder != 0xFFFE)
        return std::nullopt;
    ByteReader counts(bytes, 24);
    quint32 sectionCount = 0;
    if (!counts.read(sectionCount))
        return std::nullopt;
    PropertySetStream stream;
    stream.m_bytes = bytes;
    stream.m_fallbackEncoding = fallbackEncoding;
    for (quint32 i = 0; i < sectionCount; ++i) {
        QByteArrayView id;
        quint32 offset = 0;
        if (!counts.take(16, id) || !counts.read(offset))
            break;
        ByteReader guid(bytes, counts.position() - 20);
        quint32 data1 = 0;
        quint16 data2 = 0, data3 = 0;
        guid.read(data1);
        guid.read(data2);
        guid.read(data3);
        const auto b = [&](int k) { return uchar(id[8 + k]); };
        stream.m_sections.append({QUuid(data1, data2, data3, b(0), b(1), b(2), b(3), b(4), b(5), b(6), b(7)), offset});
    }
    return stream;
}

std::optional<PropertySection> PropertySetStream::section(const QUuid &formatId) const
{
    for (const SectionPlace &place : m_sections) {
        if (place.formatId != formatId)
            continue;
        ByteReader reader(m_bytes, qsizetype(place.offset));
        quint32 size = 0;
        if (!reader.read(size) || size < 8)
            return std::nullopt;
        const qsizetype length = qMin<qsizetype>(qsizetype(size), m_bytes.size() - qsizetype(place.offset));
        return PropertySection(m_bytes.mid(qsizetype(place.offset), length), m_fallbackEncoding);
    }
    return std::nullopt;
}

} // namespace quillbay
