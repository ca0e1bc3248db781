#pragma once
// Measures every line of one tree's table: the floors, our engine in process,
// our command-line tool and the other renamers, each on a freshly made tree.

#include "Report.h"

#include <set>
#include <string>

namespace bench {

struct RunnerOptions {
    std::string workFolder; // the benchmark's own folder; trees, reports and scratch files go below it
    int runs = 5;
    std::string cliPath;  // quillbay-cli
    std::string selfPath; // this program, for the memory measurement in a child process
    // Which groups of lines to measure besides the floors (empty: all): preview,
    // previewDate, memory, run (with the undo), cli (with file-rename), file-rename, mmv.
    std::set<std::string> groups;
};

TreeResult measureTree(const RunnerOptions &options, Layout layout, int files);

} // namespace bench
