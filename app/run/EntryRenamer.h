#pragma once
// Carries out one entry of a rename run on disk: the existence check, the
// rename that never replaces, and the passage through a temporary name when
// the new name is taken by the item itself (a change of letter case on a file
// system that ignores case).

#include "run/FolderCursor.h"
#include "run/ItemIdentity.h"
#include "run/RenameErrors.h"

#include <QByteArray>
#include <optional>

namespace quillbay {

class RunJournal;

struct EntryOutcome {
    bool renamed = false;
    std::optional<EntryFailure> failure;
    // What the entry moved, as it was found under its old name (set when renamed).
    std::optional<ItemIdentity> identity;
    // Set when the entry was left under a temporary name it could neither
    // leave nor come back from: the report then names that temporary name.
    QByteArray strandedAt;
};

class EntryRenamer
{
public:
    EntryRenamer(FolderCursor &cursor, RunJournal &journal) : m_cursor(cursor), m_journal(journal) {}

    // Renames name to newName in folder (all as the file system's bytes).
    EntryOutcome rename(bool folderEntry, const char *folder, const char *name, const char *newName);

    // A name the entry may carry: not empty, no "/", not "." or "..".
    static bool isUsableName(const char *name);
    // A folder an entry may be in: a full path without "." or ".." among its
    // parts, so that it names the same folder whatever the current folder is.
    static bool isUsableFolder(const char *folder);

private:
    EntryOutcome renameThroughTemporary(int dirFd, bool folderEntry, const char *name, const char *newName,
                                        const struct stat &st);
    EntryOutcome renamedItem(bool folderEntry, const struct stat &st);

    FolderCursor &m_cursor;
    RunJournal &m_journal;
};

} // namespace quillbay
