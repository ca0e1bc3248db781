#pragma once
// The preview document: one entry per proposed rename, in the order in which
// the renames can be carried out. After a run the same document, with the
// outcome of every entry, is saved as the run's report.

#include "base/Result.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <pugixml.hpp>
#include <string>
#include <vector>

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

    // Appends a "file" or "folder" entry; include false is written as include="false".
    pugi::xml_node AddPreviewEntry(const char *kind, const QString &folder, const QString &name, const QString &newName,
                                   bool include);

    pugi::xml_document &document() { return m_doc; }
    const pugi::xml_document &document() const { return m_doc; }
    pugi::xml_node root() const { return m_doc.document_element(); }

    // Sets the include mark of the entry with that id; false when there is none.
    // (The design's Boolean: it answers whether the entry exists, which is no failure.)
    bool SetEntryInclude(const QString &id, bool include);
    // The file entry with that id, else the folder entry with it; a null node
    // when there is neither. Constant time once the index is built (see below).
    pugi::xml_node findEntry(const QString &id) const;
    // Number of file and folder entries.
    int entryCount() const;
    // Whether the node is an entry: an element named "file" or "folder".
    static bool isEntry(pugi::xml_node node);

    // Replaces the document with a report or preview saved earlier; on failure
    // the document is left empty.
    Result<void> loadFile(const QString &path);
    // Removes one entry (execution drops the entries that are not included).
    void removeEntry(pugi::xml_node entry);
    // Code that adds or removes entries through document() calls this afterwards,
    // so that the index and the count are built anew.
    void entriesChanged();

private:
    // The UTF-8 form of a text, in a buffer that is reused from entry to entry.
    const std::string &utf8Of(const QString &text);

    // Entries by id, built on the first look-up after a change of the entry
    // list (a preview of a million entries is then toggled entry by entry by
    // the window). Ids "f<N>" of the counter go to slot N of byNumber; any
    // other id to byText.
    struct EntryIndex {
        bool built = false;
        std::vector<pugi::xml_node> byNumber;
        QHash<QByteArray, pugi::xml_node> byText;
    };
    void buildIndex() const;

    pugi::xml_document m_doc;
    mutable EntryIndex m_index;
    mutable int m_entryCount = 0;
    mutable bool m_countKnown = true;
    QString m_languageSuffix;
    quint64 m_entryCounter = 0;
    // Entries of one folder follow each other: its path is converted once.
    QString m_lastFolder;
    std::string m_lastFolderUtf8;
    std::string m_buffer;
};

} // namespace quillbay
