#pragma once
// The preview document: one entry per proposed rename, in the order in which
// the renames can be carried out. After a run the same document, with the
// outcome of every entry, is saved as the run's report.

#include <QString>
#include <pugixml.hpp>
#include <string>

namespace quillbay {

class PreviewDocument
{
public:
    PreviewDocument();

    // Starts a new, empty document whose prologue names the report style sheet
    // of the given language suffix ("En", "Ja"), and restarts the entry ids.
    void NewPreviewDocument(const QString &languageSuffix);

    // The fixed text every report starts with.
    static QString prologueFor(const QString &languageSuffix);
    // The prologue of this document, as chosen when it was made.
    QString prologue() const { return prologueFor(m_languageSuffix); }
    QString languageSuffix() const { return m_languageSuffix; }

    // "f" followed by the next value of the entry counter.
    QString NextEntryId();
    void restartEntryIds() { m_entryCounter = 0; }

    // Appends a "file" or "folder" entry; include false is written as include="false".
    pugi::xml_node AddPreviewEntry(const char *kind, const QString &folder, const QString &name,
                                   const QString &newName, bool include);

    pugi::xml_document &document() { return m_doc; }
    const pugi::xml_document &document() const { return m_doc; }
    pugi::xml_node root() const { return m_doc.document_element(); }

    // Finds the file entry with that id, else the folder entry, and sets include.
    bool SetEntryInclude(const QString &id, bool include);
    // Number of file and folder entries.
    int entryCount() const;

private:
    // The UTF-8 form of a text, in a buffer that is reused from entry to entry.
    const std::string &utf8Of(const QString &text);

    pugi::xml_document m_doc;
    QString m_languageSuffix;
    quint64 m_entryCounter = 0;
    // Entries of one folder follow each other: its path is converted once.
    QString m_lastFolder;
    std::string m_lastFolderUtf8;
    std::string m_buffer;
};

} // namespace quillbay
