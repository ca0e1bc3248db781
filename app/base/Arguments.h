#pragma once
// The command line: splitting an argument text into arguments, and what the
// main program's arguments ask for.

#include <QString>
#include <QStringList>

namespace quillbay {

// Splits a command-line text into arguments. Spaces (only U+0020) between
// arguments are skipped. An argument that starts with a quotation mark runs
// up to the next quotation mark, which is dropped (without one it runs to the
// end of the text); any other argument runs up to the next space and keeps
// the quotation marks inside it.
QStringList SplitArguments(const QString &text);

// What the main program's command line asks for. Only the first argument is
// looked at: "-exec" or "/exec" (exactly) asks for an unattended run of the
// selected setting after which the program ends; any other switch ("-x") is
// ignored; anything else that is not empty, including every other text that
// begins with "/" (an absolute path), is a folder to hand to the
// select-setting step.
struct CommandLineRequest {
    bool immediateRun = false;
    QString openPath; // empty when there is none
};

CommandLineRequest readCommandLine(const QStringList &arguments);

} // namespace quillbay
