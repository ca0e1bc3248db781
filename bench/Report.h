#pragma once
// The benchmark's output: one table per tree (layout and size), then the
// growth of the cost per file with the size, then the targets.

#include "Measurement.h"
#include "TreeMaker.h"

#include <string>
#include <vector>

namespace bench {

struct Row {
    std::string key;   // stable short name, used to compare sizes
    std::string label; // what the line shows
    Series series;
    std::string floorKey; // the row this one is divided by ("" for a floor itself)
    double target = 0;    // the highest ratio allowed; 0 when there is no target
    bool ours = false;    // our program (not a floor, not another tool): its growth with size is a target
    // Memory rows: bytes instead of seconds.
    bool memory = false;
    double peakBytes = 0;
    double retainedBytes = 0;
    int entries = 0;
};

struct TreeResult {
    Layout layout = Layout::Flat;
    int files = 0;
    std::vector<Row> rows;

    const Row *find(const std::string &key) const;
};

struct Verdict {
    std::string what;
    double value = 0;
    double limit = 0;
    bool met() const { return value <= limit; }
};

// Prints the table of one tree and returns the verdicts of its targets.
std::vector<Verdict> printTree(const TreeResult &tree);

// Cost per file (minimum seconds / files) for every row and size, and the
// growth from 100,000 to the largest size (target: at most 1.3 times).
std::vector<Verdict> printGrowth(const std::vector<TreeResult> &trees);

void printVerdicts(const std::vector<Verdict> &verdicts);

} // namespace bench
