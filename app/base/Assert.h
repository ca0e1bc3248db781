#pragma once
// Invariants that must hold, checked in every build. A broken one is a bug:
// it is logged with its place (qCritical, "file:line: invariant broken: ...")
// and the program recovers as the statement given says, instead of crashing
// in front of the user or going on with a wrong state.
//
//     QB_ASSERT(index < m_count, return false);
//     QB_ASSERT(node, continue);

namespace quillbay {

// Logs the broken invariant. Tests may count the reports (brokenInvariantCount).
void reportBrokenInvariant(const char *condition, const char *file, int line);
// How many invariants have been reported broken in this process.
int brokenInvariantCount();

} // namespace quillbay

#define QB_ASSERT(condition, recovery)                                                                                 \
    do {                                                                                                               \
        if (!(condition)) [[unlikely]] {                                                                               \
            ::quillbay::reportBrokenInvariant(#condition, __FILE__, __LINE__);                                         \
            recovery;                                                                                                  \
        }                                                                                                              \
    } while (false)
