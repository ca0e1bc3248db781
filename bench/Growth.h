#pragma once
// The growth of the preview's cost per file from a small tree to a large one,
// measured with both trees on disk and their runs taken in turn (small, large,
// small, large, ...), so that a slow spell of a shared machine falls on both
// sizes alike instead of on whichever was measured at the time.
//
// The preview is measured twice over: repeated in this process, where a
// small preview finds its memory already mapped from the run before, and as
// the first preview of a fresh process (what a user's first preview costs),
// where every page is new at both sizes.

#include "TreeMaker.h"

#include <string>

namespace bench {

// Prints the table and returns 0, or 1 when a tree cannot be made or a
// preview fails its check.
int measureGrowth(const std::string &workFolder, const std::string &selfPath, Layout layout, int small, int large,
                  int rounds);

} // namespace bench
