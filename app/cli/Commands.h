#pragma once
// The subcommands of quillbay-cli:
//   preview [--settings FILE] [--setting NAME] [--output FILE]
//   run     [--settings FILE] [--setting NAME] [--report-dir DIR]
//   undo    REPORT [--report-dir DIR] [--run [--force]]
// Each returns the exit status of the tool; "--help" prints how it is called.
// Every text comes from the string table (30000-30999), in the user's language.

#include <QStringList>

namespace quillbay {

int previewCommand(const QStringList &args);
int runCommand(const QStringList &args);
int undoCommand(const QStringList &args);

// The usage of the whole tool: every subcommand, what it does, the exit statuses.
QString usageText();

} // namespace quillbay
