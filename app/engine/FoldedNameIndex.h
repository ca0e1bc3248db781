#pragma once
// A compact index of names by their folded form (see foldedName): it keeps
// only a hash and a caller's reference per name, never a folded copy. A look-up
// visits the references whose hash matches; the caller confirms each one with
// sameFoldedName, which almost always holds, since 64-bit hashes of different
// names rarely meet.
//
// A folder of a million files would need a million folded strings in a set;
// this keeps 16 bytes per name and folds plain ASCII names without building
// anything.

#include "platform/LargeMemory.h"

#include <cstddef>
#include <vector>

namespace quillbay {

class FoldedNameIndex
{
public:
    void reserve(size_t count);
    void clear();
    void insert(size_t hash, int reference);

    // Calls visit(reference) for each reference inserted under hash, until
    // visit returns true.
    template<typename Visit>
    void find(size_t hash, Visit &&visit) const
    {
        if (m_slots.empty())
            return;
        const size_t mask = m_slots.size() - 1;
        for (size_t i = hash & mask;; i = (i + 1) & mask) {
            const Slot &slot = m_slots[i];
            if (slot.reference < 0)
                return;
            if (slot.hash == hash && visit(slot.reference))
                return;
        }
    }

private:
    struct Slot {
        size_t hash = 0;
        int reference = -1; // -1: empty
    };
    void rehash(size_t slotCount);

    std::vector<Slot, LargeMemory::Allocator<Slot>> m_slots; // a power of two in size, at most half full
    size_t m_count = 0;
};

} // namespace quillbay
