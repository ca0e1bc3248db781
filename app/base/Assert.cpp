#include "base/Assert.h"

#include <QtGlobal>

#include <atomic>

namespace quillbay {

namespace {
std::atomic<int> g_brokenInvariants{0};
}

void reportBrokenInvariant(const char *condition, const char *file, int line)
{
    ++g_brokenInvariants;
    qCritical("%s:%d: invariant broken: %s", file, line, condition);
}

int brokenInvariantCount()
{
    return g_brokenInvariants.load();
}

} // namespace quillbay
