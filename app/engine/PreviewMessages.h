#pragma once
// The texts a user is shown about a preview and its run: why it cannot start,
// what the walk skipped, how many new names were found invalid, which renames
// failed. The window, the unattended run and the command-line tool all say
// the same.

#include <QString>
#include <QStringList>

namespace quillbay {

class PreviewDocument;
struct SkippedFolder;

// One text per failed check (bits of PreconditionBits), joined by line breaks,
// in the order no rules, no folders, missing folders.
QString PreconditionMessage(int bits);

// "The check box(es) of N new name(s) was/were cleared ..."; empty for 0.
QString InvalidCountMessage(int invalidCount);

// "Skipped a folder that cannot be read: path (reason)".
QString SkippedFolderMessage(const SkippedFolder &skipped);

// One line per entry of a carried-out list that failed: "path -> new name: error".
QStringList FailedEntryLines(const PreviewDocument &document);

} // namespace quillbay
