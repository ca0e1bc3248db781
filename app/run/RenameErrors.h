#pragma once
// The failure of one entry as the report records it: a number and a text.
// The five common file errors carry the program's own numbers and localized
// texts; any other error of the system keeps its errno value and the system's
// description, in the user's language where the table has it.

#include <QString>

namespace quillbay {

namespace ErrorNumber {
constexpr int BadFileName = 52;
constexpr int FileNotFound = 53;
constexpr int DeviceIoError = 57;
constexpr int FileAlreadyExists = 58;
constexpr int DiskNotReady = 71;
constexpr int FolderNotFound = 942;
} // namespace ErrorNumber

struct EntryFailure {
    int number = 0;
    QString description;
};

// Replaces description by the localized text of 52, 53, 57, 58 and 71 (string
// table entry 20000 + number) and answers true; leaves it alone otherwise.
// (The design gives it this in-out text and Boolean: it answers whether it replaced the text.)
bool ErrorTextFor(int number, QString &description);

// The failure for an errno value met while renaming an entry. folderEntry picks
// the "folder is not found" text for a vanished source folder entry.
EntryFailure failureForErrno(int err, bool folderEntry);

// A failure with one of the program's numbers and its text.
EntryFailure programFailure(int number);

} // namespace quillbay
