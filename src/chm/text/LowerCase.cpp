#include "chm/text/LowerCase.h"

#include "chm/text/LowerCaseRanges.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace folvane::chm {

char32_t lowerCase(char32_t c) {
    if (c < 0x80)
        return (c >= 'A' && c <= 'Z') ? c + 0x20 : c;
    const auto* range = std::upper_bound(std::begin(kLowerCaseRanges), std::end(kLowerCaseRanges), c,
                                         [](char32_t value, const CaseRange& r) { return value < r.first; });
    if (range == std::begin(kLowerCaseRanges))
        return c;
    --range;
    if (c > range->last || (c - range->first) % range->step != 0)
        return c;
    return static_cast<char32_t>(static_cast<std::int32_t>(c) + range->toLower);
}

} // namespace folvane::chm
