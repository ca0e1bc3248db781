#pragma once
// Jobs that run another program: our command-line tool end to end, and the
// renamers the system already has (perl's file-rename, mmv) on an equivalent
// job. Each is one fork and exec, timed from the start to the end of the
// child, with the child's own CPU time.

#include "Measurement.h"
#include "TreeMaker.h"

#include <string>
#include <vector>

namespace bench {

struct ProcessRun {
    Sample sample;
    int exitCode = -1;  // -1 when it did not start or ended by a signal
    std::string output; // what it printed on standard output
    std::string errors; // and on standard error
};

// Runs argv[0] (looked up in PATH) in folder cwd, with standard input read
// from stdinFile ("" for /dev/null).
ProcessRun runProcess(const std::vector<std::string> &argv, const std::string &cwd, const std::string &stdinFile,
                      const std::string &scratchFolder);

// The full path of a program in PATH, or "" when it is not installed.
std::string findProgram(const std::string &name);

// The Basic job for file-rename: the same three steps, with one counter over
// the whole run. Names are read from standard input (NUL-separated paths
// relative to the tree root); only the last component of each is renamed.
std::vector<std::string> fileRenameCommand(const std::string &program);
// Writes that list of names for the plan into path.
bool writeNameList(const std::string &path, const TreePlan &plan);

// mmv cannot number or use regular expressions: its job adds the prefix only.
std::vector<std::string> mmvCommand(const std::string &program, const TreePlan &plan);

} // namespace bench
