#include "base/LargeMemory.h"

#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <map>
#include <mutex>
#include <sys/mman.h>

namespace quillbay::LargeMemory {

namespace {

constexpr std::size_t kHugePage = std::size_t(2) << 20;

std::size_t roundUp(std::size_t bytes, std::size_t unit)
{
    return (bytes + unit - 1) / unit * unit;
}

// size bytes (a multiple of kHugePage) at an address the kernel can back with
// huge pages: aligned to kHugePage, and marked for them.
void *mapRegion(std::size_t size)
{
    void *mapped = ::mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        return nullptr;
    const std::uintptr_t start = reinterpret_cast<std::uintptr_t>(mapped);
    const std::uintptr_t aligned = roundUp(start, kHugePage);
    if (aligned > start)
        ::munmap(mapped, aligned - start);
    const std::size_t tail = kHugePage - (aligned - start);
    if (tail > 0)
        ::munmap(reinterpret_cast<void *>(aligned + size), tail);
    void *region = reinterpret_cast<void *>(aligned);
    ::madvise(region, size, MADV_HUGEPAGE); // a wish: without huge pages the memory is ordinary
    return region;
}

// Regions given back, kept for the next requests.
//
// A preview that is run again (the rules were changed, the user looks again)
// asks for the same tables and pages as the time before. Memory new to a
// process costs a page fault and the zeroing of every page, which on a virtual
// machine took as long as the rest of a large preview; memory kept costs
// nothing. Kept regions are marked MADV_FREE: the kernel may take their pages
// back whenever it needs them, and until it does they are reused as they are.
//
// Neighbouring regions are joined, so that the pages of a document given back
// one by one can serve a large table next time. A request that nothing kept
// can serve first gives everything kept back to the system: the kernel then
// hands those same pages out again, instead of pages the process never had.
class RegionCache
{
public:
    // Carved from the start of the smallest kept region that is large
    // enough; nullptr (and nothing kept any more) when there is none.
    void *take(std::size_t size)
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        auto best = m_regions.end();
        for (auto it = m_regions.begin(); it != m_regions.end(); ++it) {
            if (it->second >= size && (best == m_regions.end() || it->second < best->second))
                best = it;
        }
        if (best == m_regions.end()) {
            for (const auto &[base, length] : m_regions)
                ::munmap(reinterpret_cast<void *>(base), length);
            m_regions.clear();
            m_keptBytes = 0;
            return nullptr;
        }
        // The record is moved, not made anew: nothing here can fail.
        auto record = m_regions.extract(best);
        const std::uintptr_t base = record.key();
        if (record.mapped() > size) {
            record.mapped() -= size;
            record.key() = base + size;
            m_regions.insert(std::move(record));
        }
        m_keptBytes -= size;
        return reinterpret_cast<void *>(base);
    }

    void give(void *memory, std::size_t size) noexcept
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (m_keptBytes + size > kKeptBytesAtMost || !keep(reinterpret_cast<std::uintptr_t>(memory), size)) {
            ::munmap(memory, size);
            return;
        }
        ::madvise(memory, size, MADV_FREE); // a wish: without it the pages simply stay
        m_keptBytes += size;
    }

private:
    static constexpr std::size_t kKeptBytesAtMost = std::size_t(1) << 30;

    // Records the region, joined with the kept regions right before and after
    // it; false when there is no memory for a record of its own.
    bool keep(std::uintptr_t base, std::size_t size) noexcept
    {
        const auto next = m_regions.lower_bound(base);
        const bool joinsNext = next != m_regions.end() && base + size == next->first;
        if (next != m_regions.begin()) {
            const auto before = std::prev(next);
            if (before->first + before->second == base) {
                before->second += size;
                if (joinsNext) {
                    before->second += next->second;
                    m_regions.erase(next);
                }
                return true;
            }
        }
        if (joinsNext) {
            auto record = m_regions.extract(next);
            record.key() = base;
            record.mapped() += size;
            m_regions.insert(std::move(record));
            return true;
        }
        try {
            m_regions.emplace_hint(next, base, size);
        } catch (...) {
            return false;
        }
        return true;
    }

    std::mutex m_mutex;
    std::map<std::uintptr_t, std::size_t> m_regions; // length by base address
    std::size_t m_keptBytes = 0;
};

RegionCache &regionCache()
{
    // Never destroyed: memory may be given back while the program ends.
    static auto *cache = new RegionCache;
    return *cache;
}

void *takeRegion(std::size_t size)
{
    if (void *kept = regionCache().take(size))
        return kept;
    return mapRegion(size);
}

} // namespace

void *allocate(std::size_t bytes)
{
    if (bytes < kLargeBytes)
        return std::malloc(bytes == 0 ? 1 : bytes);
    return takeRegion(roundUp(bytes, kHugePage));
}

void release(void *memory, std::size_t bytes) noexcept
{
    if (!memory)
        return;
    if (bytes < kLargeBytes)
        std::free(memory);
    else
        regionCache().give(memory, roundUp(bytes, kHugePage));
}

BlockPool::BlockPool(std::size_t blockSize)
    : m_blockSize(roundUp(blockSize == 0 ? 1 : blockSize, 64)), m_blocksPerRegion(kHugePage / m_blockSize)
{
}

BlockPool::~BlockPool()
{
    for (auto &[base, region] : m_regions)
        ::munmap(region.base, kHugePage);
}

BlockPool::Region *BlockPool::regionWithRoom()
{
    const auto hasRoom = [this](const Region &r) { return r.freeBlocks || r.carved < m_blocksPerRegion; };
    if (m_current && hasRoom(*m_current))
        return m_current;
    for (auto &[base, region] : m_regions) {
        if (hasRoom(region))
            return m_current = &region;
    }
    char *base = static_cast<char *>(takeRegion(kHugePage));
    if (!base)
        return nullptr;
    Region &region = m_regions[reinterpret_cast<std::uintptr_t>(base)];
    region.base = base;
    return m_current = &region;
}

void *BlockPool::take()
{
    if (m_blocksPerRegion == 0)
        return nullptr; // blocks larger than a region: the caller uses other memory
    const std::lock_guard<std::mutex> lock(m_mutex);
    Region *region = regionWithRoom();
    if (!region)
        return nullptr;
    void *block;
    if (region->freeBlocks) {
        block = region->freeBlocks;
        region->freeBlocks = *static_cast<void **>(block);
    } else {
        block = region->base + region->carved * m_blockSize;
        ++region->carved;
    }
    ++region->inUse;
    if (m_spare == region)
        m_spare = nullptr;
    return block;
}

bool BlockPool::give(void *block) noexcept
{
    if (!block)
        return false;
    const std::uintptr_t base = reinterpret_cast<std::uintptr_t>(block) & ~(kHugePage - 1);
    const std::lock_guard<std::mutex> lock(m_mutex);
    const auto it = m_regions.find(base);
    if (it == m_regions.end())
        return false;
    Region &region = it->second;
    *static_cast<void **>(block) = region.freeBlocks;
    region.freeBlocks = block;
    if (--region.inUse == 0)
        drop(region);
    return true;
}

std::size_t BlockPool::regionCount()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_regions.size();
}

void BlockPool::drop(Region &region) noexcept
{
    // One empty region stays for the next document; any further one goes back.
    if (!m_spare) {
        m_spare = &region;
        return;
    }
    if (m_current == &region)
        m_current = nullptr;
    char *base = region.base;
    m_regions.erase(reinterpret_cast<std::uintptr_t>(base));
    regionCache().give(base, kHugePage);
}

} // namespace quillbay::LargeMemory
