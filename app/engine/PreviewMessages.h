#pragma once
// The texts a user is shown about a preview and its run: why it cannot start,
// what the walk skipped, how many new names were found invalid, which renames
// failed. The window, the unattended run and the command-line tool all say
// the same.

#include "run/JournalRecovery.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace quillbay {

class PreviewDocument;
struct Error;
struct PreviewPreconditions;
struct PreviewSummary;
struct SkippedFolder;

// One text per failed check, joined by line breaks, in the order no rules, no
// folders, missing folders. The window's message: the missing folders have
// been taken out of the setting, and the user is asked to try again.
QString preconditionMessage(const PreviewPreconditions &found);

// Without the window nothing asks the user to try again, and the settings
// file is never written: each missing folder is named as skipped (30013), and
// only the checks that leave nothing to do stop the run (no rules, no
// folders left), one text each.
QStringList missingFolderNotes(const PreviewPreconditions &found);
QStringList stoppingPreconditionTexts(const PreviewPreconditions &found);

// "The check box(es) of N new name(s) was/were cleared ..."; empty for 0.
QString invalidCountMessage(int invalidCount);

// The same without the window, which has no check boxes: "Left out N
// entries because their new names are not valid."; empty for 0.
QString leftOutInvalidMessage(int invalidCount);

// "Skipped a folder that cannot be read: path (reason)".
QString skippedFolderMessage(const SkippedFolder &skipped);

// What a user without the window is told about a finished preview: the
// skipped folders, the names left out, the rule failures, the invalid count.
QStringList previewNotes(const PreviewSummary &summary);

// Why the criteria cannot be used (a preview that did not start): "Files
// Criteria: Base name pattern "(": reason".
QString criteriaErrorMessage(const Error &error);

// One line per entry of a carried-out list that failed: "Not renamed: path ->
// new name (error)".
QStringList failedEntryLines(const PreviewDocument &document);

// One line per journal of an earlier run that an execution turned into a
// report (30010), or could not turn into one (30011).
QStringList recoveryNotes(const QList<JournalRecovery::Outcome> &recovered);

// "Cannot save the report in the folder: folder (reason)" (30012).
QString reportNotSavedMessage(const QString &reportFolder, const Error &error);

} // namespace quillbay
