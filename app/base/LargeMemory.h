#pragma once
// Memory for the large tables of a preview or a run, and for the pages of the
// XML documents that hold previews and reports.
//
// A preview of a hundred thousand files touches some eighty megabytes, and the
// kernel hands out memory a 4 KiB page at a time, each with a fault that costs
// microseconds on a virtual machine: as much as all the rest of the preview.
// Memory taken here comes from the system in regions that the kernel may back
// with 2 MiB pages (madvise MADV_HUGEPAGE), so that a large table costs a few
// faults. Where the kernel does not do huge pages the memory is ordinary.
// Regions given back are kept (up to 1 GiB, marked MADV_FREE so the kernel can
// reclaim them) for the next requests: a preview run again finds its memory
// ready, and a table that outgrows its region takes memory already mapped.

#include <cstddef>
#include <mutex>
#include <new>
#include <unordered_map>

namespace quillbay::LargeMemory {

// Blocks from this size up come from the system directly.
constexpr std::size_t kLargeBytes = std::size_t(1) << 20;

// bytes of memory, or nullptr when there is none to be had. Not zeroed.
void *allocate(std::size_t bytes);
// Gives back what allocate returned for the same number of bytes.
void release(void *memory, std::size_t bytes) noexcept;

// For std::vector and friends.
template<typename T>
struct Allocator {
    using value_type = T;
    Allocator() = default;
    template<typename U>
    Allocator(const Allocator<U> &) noexcept
    {
    }
    T *allocate(std::size_t n)
    {
        if (n > std::size_t(-1) / sizeof(T))
            throw std::bad_array_new_length();
        void *memory = LargeMemory::allocate(n * sizeof(T));
        if (!memory)
            throw std::bad_alloc();
        return static_cast<T *>(memory);
    }
    void deallocate(T *memory, std::size_t n) noexcept { LargeMemory::release(memory, n * sizeof(T)); }
    template<typename U>
    bool operator==(const Allocator<U> &) const noexcept
    {
        return true;
    }
};

// Equal blocks of one size, carved from 2 MiB regions. A region goes back to
// the system when its last block is given back (one empty region is kept for
// the next use). Safe to use from several threads.
class BlockPool
{
public:
    explicit BlockPool(std::size_t blockSize);
    ~BlockPool();
    BlockPool(const BlockPool &) = delete;
    BlockPool &operator=(const BlockPool &) = delete;

    std::size_t blockSize() const { return m_blockSize; }
    // A block, or nullptr when the system has no memory to give.
    void *take();
    // Takes back a block of this pool and answers true; false for anything else.
    bool give(void *block) noexcept;
    // Regions held from the system.
    std::size_t regionCount();

private:
    struct Region {
        char *base = nullptr;
        std::size_t carved = 0; // blocks handed out at least once
        std::size_t inUse = 0;
        void *freeBlocks = nullptr;
    };
    Region *regionWithRoom();
    void drop(Region &region) noexcept;

    std::size_t m_blockSize;
    std::size_t m_blocksPerRegion;
    std::mutex m_mutex;
    std::unordered_map<std::size_t, Region> m_regions; // by base address
    Region *m_current = nullptr;
    Region *m_spare = nullptr;
};

} // namespace quillbay::LargeMemory
