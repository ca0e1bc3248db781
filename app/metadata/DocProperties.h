#pragma once
// The summary information of one compound document (the OLE structured
// storage files of word processors, spreadsheets and presentations): title,
// subject, author and the other properties of its summary and document
// summary property sets.
//
// The compound-document container is read with libgsf; the property set
// streams inside it are decoded by PropertySetStream. libgsf's own property
// reader hands back a table keyed by its names ("dc:title"), not by set and
// property identifier, and keeps only the identifiers it knows, so it cannot
// answer for an arbitrary identifier; it also logs every odd value it meets.
// The file is opened for reading only, so nothing can ever be written to it.

#include <QString>
#include <QVariant>
#include <memory>

namespace quillbay {

class DocProperties
{
public:
    // Property sets by index.
    enum SetIndex { SummaryInformation = 0, DocumentSummaryInformation = 1, UserDefinedProperties = 2 };

    DocProperties();
    ~DocProperties();
    DocProperties(const DocProperties &) = delete;
    DocProperties &operator=(const DocProperties &) = delete;

    // True when the file is a compound document and could be opened.
    bool open(const QString &path);
    // The same for the bytes of a file held in memory.
    bool openBytes(const QByteArray &bytes);
    bool isOpen() const;
    void close();

    // One property of a set: a key made of digits is a property identifier,
    // any other key a name from the set's dictionary. Strings come back as
    // QString, file times as local QDateTime, string vectors as QStringList.
    // Invalid when the set or the property is absent.
    QVariant getProperty(int setIndex, const QString &key);
    QVariant getProperty(int setIndex, quint32 id);

    QString title() { return text(SummaryInformation, 2); }
    QString subject() { return text(SummaryInformation, 3); }
    QString author() { return text(SummaryInformation, 4); }
    QString keywords() { return text(SummaryInformation, 5); }
    QString comments() { return text(SummaryInformation, 6); }
    QString revisionNumber() { return text(SummaryInformation, 9); }
    QString applicationName() { return text(SummaryInformation, 18); }
    QString category() { return text(DocumentSummaryInformation, 2); }
    QString company() { return text(DocumentSummaryInformation, 15); }

private:
    QString text(int setIndex, quint32 id);

    struct Container;
    std::unique_ptr<Container> m_container;
};

// A property value as text: strings as they are, string lists joined by
// "; ", dates in ISO 8601 form, numbers in decimal; empty when invalid.
QString propertyText(const QVariant &value);

} // namespace quillbay
