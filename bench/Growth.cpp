#include "Growth.h"

#include "EngineJobs.h"
#include "Floors.h"

#include <algorithm>
#include <cstdio>
#include <limits>

namespace bench {

namespace {

struct Size {
    int files;
    std::string tree;
    double walk = std::numeric_limits<double>::max();         // shortest, seconds
    double preview = std::numeric_limits<double>::max();      // shortest, seconds
    double firstPreview = std::numeric_limits<double>::max(); // shortest, in a fresh process
    std::string settings;
};

// The time BuildPreview took in a child process, or a negative number.
double firstPreviewSeconds(const std::string &selfPath, const Size &s, const std::string &workFolder)
{
    const MemoryChildReport child = runMemoryChild(selfPath, s.settings, workFolder, workFolder);
    return child.ok && child.entries == s.files ? child.seconds : -1;
}

double perFile(double seconds, int files)
{
    return seconds / files * 1e6;
}

} // namespace

int measureGrowth(const std::string &workFolder, const std::string &selfPath, Layout layout, int small, int large,
                  int rounds)
{
    Size sizes[2];
    sizes[0].files = small;
    sizes[0].tree = workFolder + "/small";
    sizes[1].files = large;
    sizes[1].tree = workFolder + "/large";
    for (Size &s : sizes) {
        std::fprintf(stderr, "making %d files\n", s.files);
        s.settings = s.tree + ".xml";
        if (!makeTree(s.tree, planTree(layout, s.files))
            || !writeSettingsFile(s.settings, Job::Basic, s.tree, layout)) {
            std::fprintf(stderr, "cannot make the tree in %s\n", s.tree.c_str());
            return 1;
        }
    }
    for (int round = 0; round < rounds; ++round) {
        std::fprintf(stderr, "round %d of %d\n", round + 1, rounds);
        for (Size &s : sizes) {
            Stopwatch watch;
            walkFloor(s.tree);
            s.walk = std::min(s.walk, watch.elapsed().wall);
            const PreviewTiming t = timePreview(Job::Basic, EngineContext{s.tree, workFolder + "/reports"}, layout);
            if (!t.failure.empty()) {
                std::fprintf(stderr, "preview of %d files: %s\n", s.files, t.failure.c_str());
                return 1;
            }
            s.preview = std::min(s.preview, t.sample.wall);
            const double first = firstPreviewSeconds(selfPath, s, workFolder);
            if (first < 0) {
                std::fprintf(stderr, "preview of %d files in a fresh process failed\n", s.files);
                return 1;
            }
            s.firstPreview = std::min(s.firstPreview, first);
        }
    }
    for (Size &s : sizes) {
        removeTree(s.tree);
        std::remove(s.settings.c_str());
    }

    std::printf("\n== growth, %s, runs taken in turn (%d rounds; shortest time / files, in microseconds) ==\n",
                layoutName(layout), rounds);
    std::printf("%-36s %10d %10d   growth\n", "", small, large);
    const auto line = [&](const char *label, double Size::*field, bool judged) {
        const double a = perFile(sizes[0].*field, sizes[0].files);
        const double b = perFile(sizes[1].*field, sizes[1].files);
        std::printf("%-36s %10.3f %10.3f   %5.2f", label, a, b, b / a);
        if (judged)
            std::printf("  <= 1.3 %s", b / a <= 1.3 ? "met" : "MISSED");
        std::printf("\n");
    };
    line("floor: readdir+lstat walk", &Size::walk, false);
    line("preview: add+numbering+regexpBase", &Size::preview, true);
    line("  the same, first in a fresh process", &Size::firstPreview, true);
    return 0;
}

} // namespace bench
