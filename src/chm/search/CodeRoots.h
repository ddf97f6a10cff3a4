#pragma once

#include <array>
#include <cstdint>

namespace folvane::chm {

// Picks the root size of a scale-and-root code that writes a set of numbers in the fewest
// bits: a value of n bits costs root + 1 bits when n <= root, else 2n - root.
class CodeRoots {
public:
    void add(std::uint32_t value);
    // The best root from 1 to 15 for the values added; 1 when none were.
    unsigned best() const;

private:
    std::array<std::uint64_t, 33> widths_{};
};

} // namespace folvane::chm
