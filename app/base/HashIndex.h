#pragma once
// A compact index of references by the 32-bit hash of what they refer to: the
// caller keeps the things themselves (names, in a table or a block of text)
// and the index keeps a hash and a reference each, 8 bytes in a slot, the
// table at most half full. A look-up visits the references whose hash
// matches; the caller confirms each one, which almost always holds, since
// 32-bit hashes of different names rarely meet.
//
// A folder of a million files would need a million strings in a set; this
// keeps 16 bytes per name.

#include "base/LargeMemory.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quillbay {

class HashIndex
{
public:
    void reserve(size_t count);
    void clear();
    void insert(size_t hash, int reference);
    size_t size() const { return m_count; }

    // Calls visit(reference) for each reference inserted under hash, until
    // visit returns true.
    template<typename Visit>
    void find(size_t hash, Visit &&visit) const
    {
        if (m_slots.empty())
            return;
        const uint32_t key = uint32_t(hash);
        const size_t mask = m_slots.size() - 1;
        for (size_t i = key & mask;; i = (i + 1) & mask) {
            const Slot &slot = m_slots[i];
            if (slot.reference < 0)
                return;
            if (slot.hash == key && visit(slot.reference))
                return;
        }
    }

    // Asks the processor for the slots of hash ahead of a find: the table of a
    // large folder is read at random, and a look-up a few names ahead hides the wait.
    void prefetch(size_t hash) const
    {
        if (!m_slots.empty())
            __builtin_prefetch(&m_slots[uint32_t(hash) & (m_slots.size() - 1)]);
    }

private:
    // 32 bits of the hash are enough to find a name among a few billion,
    // and keep a slot at 8 bytes: a folder of a million names needs 16 MB.
    struct Slot {
        uint32_t hash = 0;
        int32_t reference = -1; // -1: empty
    };
    void rehash(size_t slotCount);

    std::vector<Slot, LargeMemory::Allocator<Slot>> m_slots; // a power of two in size, at most half full
    size_t m_count = 0;
};

} // namespace quillbay
