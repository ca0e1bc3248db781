#pragma once
// Builds property set streams byte by byte and writes compound documents
// (with libgsf's writer) for the document-properties tests.

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QUuid>

namespace quillbay::test {

inline const QUuid SummaryFormatId{QStringLiteral("{F29F85E0-4FF9-1068-AB91-08002B27B3D9}")};
inline const QUuid DocumentSummaryFormatId{QStringLiteral("{D5CDD502-2E9C-101B-9397-08002B2CF9AE}")};
inline const QUuid UserDefinedFormatId{QStringLiteral("{D5CDD505-2E9C-101B-9397-08002B2CF9AE}")};

class SectionBuilder
{
public:
    SectionBuilder &codePage(quint16 codePage);
    // bytes: the string in the section's code page, without terminator.
    SectionBuilder &lpstr(quint32 id, const QByteArray &bytes);
    // A code-page string of a Unicode (1200) section: UTF-16 in an 8-bit slot.
    SectionBuilder &lpstrUnicode(quint32 id, const QString &text);
    SectionBuilder &lpwstr(quint32 id, const QString &text);
    SectionBuilder &fileTime(quint32 id, quint64 fileTime);
    SectionBuilder &i4(quint32 id, qint32 value);
    SectionBuilder &lpstrVector(quint32 id, const QList<QByteArray> &items, bool padded);
    SectionBuilder &lpwstrVector(quint32 id, const QStringList &texts);
    SectionBuilder &dictionary(const QList<QPair<quint32, QByteArray>> &names);
    // Any bytes as the value of a property (type field included).
    SectionBuilder &raw(quint32 id, const QByteArray &value);

    QByteArray build() const;

private:
    QList<QPair<quint32, QByteArray>> m_properties;
};

QByteArray le16(quint16 v);
QByteArray le32(quint32 v);
QByteArray le64(quint64 v);
QByteArray utf16le(const QString &text);

// The stream: header and the sections in the order given.
QByteArray propertySetStream(const QList<QPair<QUuid, QByteArray>> &sections);

// Writes a compound document holding the named streams; false on failure.
bool writeCompoundFile(const QString &path, const QList<QPair<QByteArray, QByteArray>> &streams);

// A compound document whose summary information libgsf itself writes, with
// the given title, subject and author (UTF-8 in, libgsf picks the encoding).
bool writeCompoundFileWithGsfMetadata(const QString &path, const QString &title, const QString &subject,
                                      const QString &author);

} // namespace quillbay::test
