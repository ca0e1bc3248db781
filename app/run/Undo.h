#pragma once
// Reversing a past run: a report read backwards becomes a new preview whose
// entries give the previous names back, newest change first.
//
// Before an entry is offered, what now carries the name the run gave is
// compared with what the run recorded it renamed (ReversalCheck): an entry
// whose item has changed, was replaced or is missing starts with its check
// mark cleared and the reason in its "cleared" attribute, and the user may
// check it again. An entry whose folder or names could reach beyond its
// folder (an edited report) is refused: cleared, and never carried out.

#include "run/PreviewDocument.h"

#include <QList>
#include <QString>

namespace quillbay {

// What reading a report found besides the reversed entries.
struct ReversalReading {
    // Entries the run renamed that lack an attribute the reversal needs.
    struct SkippedEntry {
        QString id;
        QString path; // folder and whichever name the entry has
        QString missingAttribute;
    };
    QList<SkippedEntry> skipped;
};

class Undo
{
public:
    // Loads the report at path and, when it is well-formed XML, replaces
    // preview with a new document (prologue of languageSuffix, ids from f1)
    // holding one reversed entry per entry that was renamed. An error, with the
    // preview unchanged, when the file cannot be loaded as XML.
    static Result<void> UndoFromReport(const QString &path, PreviewDocument &preview, const QString &languageSuffix);
    // The same, telling what it skipped.
    static Result<ReversalReading> readReport(const QString &path, PreviewDocument &preview,
                                              const QString &languageSuffix);
};

} // namespace quillbay
