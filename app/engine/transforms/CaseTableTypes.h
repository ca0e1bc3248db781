#pragma once
// Row types of the generated letter-case tables (CaseTableData.h).

#include <cstdint>

namespace quillbay::casedata {

enum class CaseRangeKind : std::uint8_t {
    Offset,    // every code point of first..last maps to itself + value
    EvenOdd,   // first, first + 2, ... last map to themselves + value; those in between are not mapped
    Expansion, // first (== last) maps to the several code units of kExpansions[value]
};

struct CaseRange {
    char32_t first;
    char32_t last;
    std::int32_t value;
    CaseRangeKind kind;
};

// Room for the longest mapping of Unicode 3.2 (three code units, e.g. U+FB03 to "FFI").
inline constexpr int kExpansionCapacity = 3;

// A mapping to more than one code point, as UTF-16 code units.
struct CaseExpansion {
    std::uint8_t length;
    char16_t units[kExpansionCapacity];
};

struct CodePointRange {
    char32_t first;
    char32_t last;
};

} // namespace quillbay::casedata
