#pragma once
// The subcommands of quillbay-cli:
//   preview [--settings FILE] [--setting NAME] [--output FILE]
//   run     [--settings FILE] [--setting NAME] [--report-dir DIR]
//   undo    REPORT [--report-dir DIR] [--run]
// Each returns the exit status of the tool.

#include <QStringList>

namespace quillbay {

int previewCommand(const QStringList &args);
int runCommand(const QStringList &args);
int undoCommand(const QStringList &args);

// The usage of the whole tool.
QString usageText();

} // namespace quillbay
