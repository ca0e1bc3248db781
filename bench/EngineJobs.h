#pragma once
// The benchmark's jobs for our own engine: the settings documents of the two
// jobs, and one timed run of the preview, of carrying a preview out, of the
// undo preview and of carrying the undo out.

#include "Floors.h"
#include "Measurement.h"
#include "TreeMaker.h"

#include <QString>
#include <optional>
#include <string>

namespace bench {

enum class Job {
    Basic,    // regexpBase (white space to "_"), add "qb_" before, numbering after
    WithDate, // the same, plus the "date" rule and the date filter (last day)
};

// The prefix that every new name of both jobs starts with.
inline const char *newNamePrefix()
{
    return "qb_";
}

// A complete settings document whose selected setting does the job on the tree at root.
QString settingsText(Job job, const std::string &root, Layout layout);
// Writes that document to path; false when it cannot.
bool writeSettingsFile(const std::string &path, Job job, const std::string &root, Layout layout);

// Where the engine's reports go: a folder of the benchmark's own.
struct EngineContext {
    std::string treeRoot;
    std::string reportFolder;
};

struct PreviewTiming {
    Sample sample;
    int entries = 0;
    std::string failure;
};

// Builds the preview of the job on the tree as it is; only BuildPreview is timed.
PreviewTiming timePreview(Job job, const EngineContext &context, Layout layout);

// The renames the Basic job makes on a tree of this plan, as the floor carries them out.
std::optional<RenameList> basicRenames(const EngineContext &context, Layout layout, std::string *failure);

// One run of the chain: preview (not timed), carrying it out with journal and
// report, the undo preview from that report, carrying the undo out. The tree
// must hold the plan's n files; afterwards it holds them again under their
// old names.
struct ChainTiming {
    Sample run;
    Sample undoPreview;
    Sample undoRun;
    int entries = 0;
    std::string failure;
};
ChainTiming timeRunChain(const EngineContext &context, Layout layout, int expectedFiles);

// The child-process side of the memory measurement: builds the preview of the
// settings file and prints on stdout the growth of resident memory at its peak
// and after the preview (the preview document and whatever else stays), the
// number of entries, and the seconds BuildPreview took (the first preview of a
// fresh process, whose memory is all new to it).
int memoryChildMain(const QString &settingsFile);

// What a memory child printed, read by the parent.
struct MemoryChildReport {
    bool ok = false;   // the child ended well and printed its figures
    int exitCode = -1; // the child's
    long long peakBytes = 0;
    long long retainedBytes = 0;
    int entries = 0;
    double seconds = 0; // BuildPreview
};
// Runs this program (selfPath) as a memory child on the settings file.
MemoryChildReport runMemoryChild(const std::string &selfPath, const std::string &settingsFile,
                                 const std::string &workFolder, const std::string &scratchFolder);

} // namespace bench
