#pragma once
// Names packed one after another in one block of UTF-16 code units.
//
// A folder of a million files listed into a million separate strings leaves
// them wherever the allocator put them, and the sorted order visits them at
// random. Listed into a block, they cost no allocation each, lie together, and
// become separate strings only once they are sorted, so that later passes,
// which go in sorted order, read memory in order.

#include "base/LargeMemory.h"

#include <QStringView>
#include <QUtf8StringView>
#include <vector>

namespace quillbay {

class NameBlock
{
public:
    void append(QStringView name);
    // name must be valid UTF-8 (QUtf8StringView::isValidUtf8); it is decoded
    // into the block as QString::fromUtf8 would decode it.
    void appendUtf8(QUtf8StringView name);

    size_t size() const { return m_ends.size(); }
    bool empty() const { return m_ends.empty(); }
    QStringView at(size_t i) const
    {
        const size_t begin = i == 0 ? 0 : m_ends[i - 1];
        return QStringView(m_units.data() + begin, qsizetype(m_ends[i] - begin));
    }
    // Gives the memory back.
    void clear();

private:
    std::vector<char16_t, LargeMemory::Allocator<char16_t>> m_units;
    std::vector<size_t, LargeMemory::Allocator<size_t>> m_ends; // where each name ends in m_units
};

} // namespace quillbay
