#pragma once
// Reversing a past run: a report read backwards becomes a new preview whose
// entries give the previous names back, newest change first.

#include "run/PreviewDocument.h"

#include <QString>

namespace quillbay {

class Undo
{
public:
    // Loads the report at path and, when it is well-formed XML, replaces
    // preview with a new document (prologue of languageSuffix, ids from f1)
    // holding one reversed entry per entry that was renamed. An error, with the
    // preview unchanged, when the file cannot be loaded as XML.
    static Result<void> UndoFromReport(const QString &path, PreviewDocument &preview, const QString &languageSuffix);
};

} // namespace quillbay
