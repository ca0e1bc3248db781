#pragma once
// The subcommands of quillbay-cli that change names on disk:
//   run  --settings FILE [--setting NAME] [--report-dir DIR]
//   undo REPORT [--report-dir DIR] [--run]

#include <QStringList>

namespace quillbay {

int runCommand(const QStringList &args);
int undoCommand(const QStringList &args);

} // namespace quillbay
