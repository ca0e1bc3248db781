#include "run/EntryRenamer.h"

#include "run/RunJournal.h"

#include <cerrno>
#include <cstring>

namespace quillbay {

namespace {

EntryOutcome failure(const EntryFailure &f)
{
    EntryOutcome o;
    o.failure = f;
    return o;
}

} // namespace

bool EntryRenamer::isUsableName(const char *name)
{
    // Names come from documents that may have been edited by hand; a name with
    // a path in it would move an item out of its folder.
    return name[0] != '\0' && std::strchr(name, '/') == nullptr && std::strcmp(name, ".") != 0
        && std::strcmp(name, "..") != 0;
}

bool EntryRenamer::isUsableFolder(const char *folder)
{
    // Report entries may have been edited by hand too: a relative folder would
    // be resolved against whatever folder the program was started in.
    if (folder[0] != '/')
        return false;
    for (const char *part = folder; *part;) {
        while (*part == '/')
            ++part;
        const size_t length = std::strcspn(part, "/");
        if ((length == 1 && part[0] == '.') || (length == 2 && part[0] == '.' && part[1] == '.'))
            return false;
        part += length;
    }
    return true;
}

EntryOutcome EntryRenamer::renamedItem(bool folderEntry, const struct stat &st)
{
    if (folderEntry)
        m_cursor.forgetAll();
    EntryOutcome o;
    o.renamed = true;
    o.identity = ItemIdentity::fromStat(st);
    return o;
}

EntryOutcome EntryRenamer::rename(bool folderEntry, const char *folder, const char *name, const char *newName)
{
    const ItemKind expected = folderEntry ? ItemKind::Folder : ItemKind::File;
    const int notFound = folderEntry ? ErrorNumber::FolderNotFound : ErrorNumber::FileNotFound;
    if (!isUsableName(name) || !isUsableName(newName) || !isUsableFolder(folder))
        return failure(programFailure(ErrorNumber::BadFileName));
    int err = 0;
    const int dirFd = m_cursor.enter(folder, &err);
    if (dirFd < 0)
        return failure(err == ENOENT || err == ENOTDIR ? programFailure(notFound) : failureForErrno(err, folderEntry));
    struct stat st;
    if (m_cursor.kindOf(name, st) != expected)
        return failure(programFailure(notFound));
    if (std::strcmp(name, newName) == 0)
        return renamedItem(false, st);
    err = FileRenamer::renameNoReplace(dirFd, name, newName);
    if (err == 0)
        return renamedItem(folderEntry, st);
    if (err == EEXIST || err == ENOTEMPTY) {
        // Taken by another item: that item is never touched. Taken by the
        // item itself: the name differs only in a way the file system ignores.
        if (!FileRenamer::namesSameItem(dirFd, name, newName))
            return failure(programFailure(ErrorNumber::FileAlreadyExists));
        return renameThroughTemporary(dirFd, folderEntry, name, newName, st);
    }
    return failure(failureForErrno(err, folderEntry));
}

EntryOutcome EntryRenamer::renameThroughTemporary(int dirFd, bool folderEntry, const char *name, const char *newName,
                                                  const struct stat &st)
{
    QByteArray temporary;
    int err = EEXIST;
    for (int attempt = 0; attempt < 100 && err == EEXIST; ++attempt) {
        temporary = FileRenamer::passingName();
        // Recorded before the move, so a recovery knows where to look.
        if (!m_journal.temporary(temporary.constData()))
            return failure(failureForErrno(errno ? errno : EIO, folderEntry));
        err = FileRenamer::renameNoReplace(dirFd, name, temporary.constData());
    }
    if (err != 0)
        return failure(programFailure(ErrorNumber::FileAlreadyExists));
    err = FileRenamer::renameNoReplace(dirFd, temporary.constData(), newName);
    if (err == 0)
        return renamedItem(folderEntry, st);
    EntryOutcome o = failure(programFailure(ErrorNumber::FileAlreadyExists));
    if (FileRenamer::renameNoReplace(dirFd, temporary.constData(), name) != 0) {
        // Left under the temporary name, which the report then gives as its new name.
        o.strandedAt = temporary;
        o.identity = ItemIdentity::fromStat(st);
    }
    if (folderEntry)
        m_cursor.forgetAll();
    return o;
}

} // namespace quillbay
