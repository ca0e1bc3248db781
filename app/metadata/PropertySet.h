#pragma once
// Reading of one property set stream of a compound document (the
// "\005SummaryInformation" and "\005DocumentSummaryInformation" streams):
// the stream header, its sections by format identifier, the properties of a
// section by identifier or by dictionary name, and their values.
//
// The bytes come from the file and are untrusted: every length and offset is
// checked against the end of the section, and loops run over the bytes that
// are there, never over a count read from the stream.

#include <QByteArray>
#include <QUuid>
#include <QVariant>
#include <optional>

namespace quillbay {

class PropertySection
{
public:
    // Value of the property with that identifier, converted: 8-bit strings (in
    // the section's code page, or fallbackEncoding when it names none) and
    // UTF-16 strings become QString, a file time becomes a local QDateTime, a
    // vector of strings a QStringList, other vectors a QVariantList, numbers
    // and flags stay numbers and flags. Invalid when absent or unreadable.
    QVariant value(quint32 id) const;
    // The identifier that the section's dictionary gives a name, letters
    // compared without regard to case.
    std::optional<quint32> idForName(const QString &name) const;

private:
    friend class PropertySetStream;
    PropertySection(QByteArray bytes, QByteArray fallbackEncoding);

    // Offset of the property's type field within the section, if present.
    std::optional<quint32> propertyOffset(quint32 id) const;
    QByteArray encoding() const;

    QByteArray m_bytes; // the section alone, from its size field to its end
    QByteArray m_fallbackEncoding;
};

class PropertySetStream
{
public:
    // No value when the bytes do not start with a property set header.
    static std::optional<PropertySetStream> parse(const QByteArray &bytes, const QByteArray &fallbackEncoding);
    // The section with that format identifier, if the stream holds one.
    std::optional<PropertySection> section(const QUuid &formatId) const;

private:
    struct SectionPlace {
        QUuid formatId;
        quint32 offset;
    };
    QByteArray m_bytes;
    QByteArray m_fallbackEncoding;
    QList<SectionPlace> m_sections;
};

} // namespace quillbay
