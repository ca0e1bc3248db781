#pragma once
// The journal of a rename run: an append-only record, kept in the report folder
// while the run goes, of every entry the run attempts and how it ended. A run
// that ends normally deletes its journal once the report is saved; a journal
// found later (the process was killed, crashed, or the machine lost power)
// becomes the report of what that run did, so it can still be read and undone.
//
// Cost and durability: the journal is a memory mapping of a file whose blocks
// are reserved in advance, so recording an entry is a copy into the page cache
// with no system call. Each record is in the kernel the moment it is written
// and survives the end of the process however it ends. Against a power cut the
// journal is flushed to disk when it is created, about every quarter of a
// second while entries are being recorded, and when the run ends. A power cut
// can lose the records of the last moments before it, as it can lose those
// renames themselves; a flush per entry would make a run of many files several
// times slower.
//
// Format: UTF-8 lines of tab-separated fields, with backslash, tab, carriage
// return and line feed escaped as \\ \t \r \n. The mapped file is longer than
// its records; reading stops at the first zero byte.
//   QBJ1 <tab> language suffix <tab> start time (ISO 8601)
//   B <tab> kind <tab> id <tab> folder <tab> name <tab> new name <tab> include   (entry begun;
//     a folder written as \= is the folder of the entry before, which the
//     escaping above never produces from a real folder)
//   T <tab> temporary name   (the entry is about to pass through this name)
//   R [<tab> dev <tab> inode <tab> kind <tab> size <tab> mtime]
//                            (the entry got its new name; what it moved, as
//                            ItemIdentity describes it)
//   S <tab> temporary name   (the entry was left under the temporary name)
//   E <tab> number <tab> description   (the entry failed)

#include "base/Result.h"

#include <QDateTime>
#include <QString>
#include <chrono>
#include <string>

namespace quillbay {

struct EntryFailure;
struct ItemIdentity;

class RunJournal
{
public:
    RunJournal() = default;
    ~RunJournal();
    RunJournal(const RunJournal &) = delete;
    RunJournal &operator=(const RunJournal &) = delete;

    static QString fileSuffix() { return QStringLiteral(".journal"); }

    // Creates a new journal in folder, locked against recovery by anyone else
    // while this object holds it, and flushed to disk before the run starts.
    Result<void> create(const QString &folder, const QString &languageSuffix, const QDateTime &start);
    bool isOpen() const { return m_fd >= 0; }
    QString path() const { return m_path; }

    // Each call records one line and answers whether it could be recorded.
    bool begin(const char *kind, const char *id, const char *folder, const char *name, const char *newName,
               const char *include);
    bool temporary(const char *name);
    bool renamed(const ItemIdentity *identity = nullptr);
    bool stranded(const char *temporaryName);
    bool failed(const EntryFailure &failure);

    // Flushes everything recorded so far to disk.
    void sync();
    // Deletes the journal: its run has a saved report.
    void remove();
    // Closes without deleting.
    void close();

private:
    // verbatimField: the index of a field written as it is, not escaped.
    bool record(std::initializer_list<const char *> fields, int verbatimField = -1);
    bool append(const std::string &line);
    bool reserve(size_t end);
    void syncIfDue();

    QString m_path;
    int m_fd = -1;
    char *m_map = nullptr;
    size_t m_mapSize = 0;
    size_t m_pos = 0;
    std::string m_line;
    std::string m_lastFolder;
    unsigned m_sinceClockCheck = 0;
    std::chrono::steady_clock::time_point m_lastSync;
};

// Escaping of one journal field, shared with the reader.
constexpr const char *kSameFolderField = "\\=";
void appendJournalField(std::string &line, const char *text);
std::string unescapeJournalField(const char *begin, const char *end);

} // namespace quillbay
