#include "engine/transforms/CaseTables.h"

#include "engine/transforms/CaseTableData.h"

#include <algorithm>
#include <span>

namespace quillbay {

namespace {

using casedata::CaseRange;
using casedata::CaseRangeKind;

static_assert(casedata::kLongestExpansion <= casedata::kExpansionCapacity);
static_assert(casedata::kLongestExpansion <= CaseTables::kMaxGrowth);

template<typename Row>
constexpr bool isSortedAndDisjoint(std::span<const Row> rows)
{
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].first > rows[i].last)
            return false;
        if (i > 0 && rows[i - 1].last >= rows[i].first)
            return false;
    }
    return true;
}

// The binary searches below rely on this order.
static_assert(isSortedAndDisjoint<CaseRange>(casedata::kLowerRanges));
static_assert(isSortedAndDisjoint<CaseRange>(casedata::kUpperRanges));
static_assert(isSortedAndDisjoint<CaseRange>(casedata::kTitleRanges));
static_assert(isSortedAndDisjoint<casedata::CodePointRange>(casedata::kCasedRanges));

// The last row whose first code point is not above codePoint, or nullptr.
template<typename Row>
const Row *findRow(std::span<const Row> rows, char32_t codePoint)
{
    auto it =
        std::upper_bound(rows.begin(), rows.end(), codePoint, [](char32_t c, const Row &row) { return c < row.first; });
    if (it == rows.begin())
        return nullptr;
    --it;
    return codePoint <= it->last ? &*it : nullptr;
}

std::span<const CaseRange> rangesOf(CaseMapping mapping)
{
    switch (mapping) {
    case CaseMapping::Lower:
        return casedata::kLowerRanges;
    case CaseMapping::Upper:
        return casedata::kUpperRanges;
    case CaseMapping::Title:
        break;
    }
    return casedata::kTitleRanges;
}

} // namespace

void CaseTables::appendCodePoint(char32_t codePoint, QString &out)
{
    if (QChar::requiresSurrogates(codePoint)) {
        out.append(QChar(QChar::highSurrogate(codePoint)));
        out.append(QChar(QChar::lowSurrogate(codePoint)));
    } else {
        out.append(QChar(char16_t(codePoint)));
    }
}

void CaseTables::appendMapped(CaseMapping mapping, char32_t codePoint, QString &out)
{
    const CaseRange *row = findRow(rangesOf(mapping), codePoint);
    if (row == nullptr || (row->kind == CaseRangeKind::EvenOdd && (codePoint - row->first) % 2 != 0)) {
        appendCodePoint(codePoint, out);
        return;
    }
    if (row->kind == CaseRangeKind::Expansion) {
        const casedata::CaseExpansion &expansion = casedata::kExpansions[row->value];
        out.append(QStringView(expansion.units, expansion.length));
        return;
    }
    appendCodePoint(char32_t(std::int64_t(codePoint) + row->value), out);
}

bool CaseTables::isCased(char32_t codePoint)
{
    return findRow(std::span<const casedata::CodePointRange>(casedata::kCasedRanges), codePoint) != nullptr;
}

} // namespace quillbay
