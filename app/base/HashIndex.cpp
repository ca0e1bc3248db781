#include "base/HashIndex.h"

namespace quillbay {

void HashIndex::reserve(size_t count)
{
    size_t slots = 16;
    while (slots < count * 2)
        slots *= 2;
    if (slots > m_slots.size())
        rehash(slots);
}

void HashIndex::clear()
{
    m_slots.clear();
    m_count = 0;
}

void HashIndex::insert(size_t hash, int reference)
{
    if ((m_count + 1) * 2 > m_slots.size())
        rehash(m_slots.empty() ? 16 : m_slots.size() * 2);
    const size_t mask = m_slots.size() - 1;
    size_t i = uint32_t(hash) & mask;
    while (m_slots[i].reference >= 0)
        i = (i + 1) & mask;
    m_slots[i] = Slot{uint32_t(hash), reference};
    ++m_count;
}

void HashIndex::rehash(size_t slotCount)
{
    std::vector<Slot, LargeMemory::Allocator<Slot>> old;
    old.swap(m_slots);
    m_slots.assign(slotCount, Slot{});
    const size_t mask = slotCount - 1;
    for (const Slot &slot : old) {
        if (slot.reference < 0)
            continue;
        size_t i = slot.hash & mask;
        while (m_slots[i].reference >= 0)
            i = (i + 1) & mask;
        m_slots[i] = slot;
    }
}

} // namespace quillbay
