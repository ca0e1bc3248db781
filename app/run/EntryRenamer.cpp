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

EntryOutcome success()
{
    EntryOutcome o;
    o.renamed = true;
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

EntryOutcome EntryRenamer::rename(bool folderEntry, const char *folder, const char *name, const char *newName)
{
    const ItemKind expected = folderEntry ? ItemKind::Folder : ItemKind::File;
    const int notFound = folderEntry ? ErrorNumber::FolderNotFound : ErrorNumber::FileNotFound;
    if (!isUsableName(name) || !isUsableName(newName))
        return failure(programFailure(ErrorNumber::BadFileName));
    int err = 0;
    const int dirFd = m_cursor.enter(folder, &err);
    if (dirFd < 0)
        return failure(err == ENOENT || err == ENOTDIR ? programFailure(notFound) : failureForErrno(err, folderEntry));
    if (m_cursor.kindOf(name) != expected)
        return failure(programFailure(notFound));
    if (std::strcmp(name, newName) == 0)
        return success();
    err = FileRenamer::renameNoReplace(dirFd, name, newName);
    if (err == 0) {
        m_cursor.noteGone(name);
        if (folderEntry)
            m_cursor.forgetAll();
        return success();
    }
    if (err == EEXIST || err == ENOTEMPTY) {
        // Taken by another item: that item is never touched. Taken by the
        // item itself: the name differs only in a way the file system ignores.
        if (!FileRenamer::namesSameItem(dirFd, name, newName))
            return failure(programFailure(ErrorNumber::FileAlreadyExists));
        return renameThroughTemporary(dirFd, folderEntry, name, newName);
    }
    if (err == ENOENT)
        m_cursor.noteGone(name);
    return failure(failureForErrno(err, folderEntry));
}

EntryOutcome EntryRenamer::renameThroughTemporary(int dirFd, bool folderEntry, const char *name, const char *newName)
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
    if (err == 0) {
        m_cursor.noteGone(name);
        if (folderEntry)
            m_cursor.forgetAll();
        return success();
    }
    EntryOutcome o = failure(programFailure(ErrorNumber::FileAlreadyExists));
    if (FileRenamer::renameNoReplace(dirFd, temporary.constData(), name) != 0) {
        m_cursor.noteGone(name);
        o.strandedAt = temporary;
    }
    return o;
}

} // namespace quillbay
